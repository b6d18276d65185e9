// How long the real window keeps a user waiting while it checks its server,
// measured from outside as a user would feel it: a message round trip to the
// window every millisecond or so, for 10 s per address. Run inside the
// loopback-only sandbox, where 127.0.0.1 answers, echo requests to 127.0.0.9
// are dropped, and 127.0.0.11 answers the echo but drops SNTP. Against that
// last one "立即同步" is pressed every 1.5 s with the stand-in net.exe
// failing, so that the program waits for an SNTP answer most of the time.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "settings/exe_location.h"
#include "settings/exe_location_win32.h"
#include "tests/e2e/support/fake_net_protocol.h"
#include "ui/layout.h"
#include "win32/text_encoding.h"
#include "win32/unique_handle.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
constexpr auto kMeasuringTime = std::chrono::seconds(10);
// Lets the checks of the previous address run out before measuring the next.
constexpr auto kSettlingTime = std::chrono::seconds(1);
constexpr auto kWindowWait = std::chrono::seconds(60);
constexpr UINT kHungMilliseconds = 10000;
constexpr DWORD kPauseMilliseconds = 1;
// Too short for anyone to notice. Shorter waits are mostly the machine's
// scheduling of three busy processes, not the window.
constexpr Milliseconds kAnsweredAtOnce{5.0};

constexpr auto kSyncPressEvery = std::chrono::milliseconds(1500);

struct Case {
  const char* name;
  const wchar_t* address;
  bool syncing;  // "立即同步" pressed again and again
};

constexpr Case kCases[] = {
    {"reachable", L"127.0.0.1", false},
    {"silent", L"127.0.0.9", false},
    {"unconvertible", L"192.168.1.1.5", false},
    {"sntp-silent", L"127.0.0.11", true},
};

struct Measurement {
  std::vector<Milliseconds> waits;
  Milliseconds duration{};
};

struct Figures {
  Milliseconds usual{}, blocked{}, longest{}, meanClickWait{};
};

// Under Wine even a round trip to an idle window takes a fraction of a
// millisecond, and on a busy machine now and then a few. What a longer round
// trip takes beyond the usual (median) one is time in which the window
// answered nothing.
Figures Summarise(Measurement measurement) {
  auto& waits = measurement.waits;
  const double seconds = measurement.duration.count() / 1000;
  Figures figures;
  // A click at a random moment lands in a wait of d with a chance that grows
  // with d, and then waits d/2 on average; in a pause it is answered at once.
  double squaredMilliseconds = 0;
  for (const Milliseconds wait : waits) {
    figures.longest = std::max(figures.longest, wait);
    squaredMilliseconds += wait.count() * wait.count();
  }
  figures.meanClickWait = Milliseconds(squaredMilliseconds / 2 / measurement.duration.count());
  std::nth_element(waits.begin(), waits.begin() + waits.size() / 2, waits.end());
  figures.usual = waits[waits.size() / 2];
  for (const Milliseconds wait : waits)
    if (wait > kAnsweredAtOnce) figures.blocked += wait - figures.usual;
  figures.blocked /= seconds;
  return figures;
}

// The stand-in net.exe from beside the bench, in the system folder, set to
// fail (and log its starts) for the product started after this.
bool InstallFailingNet(const std::wstring& productDirectory, const std::wstring& log) {
  wchar_t system[MAX_PATH];
  if (GetSystemDirectoryW(system, MAX_PATH) == 0) return false;
  DeleteFileW(log.c_str());
  return CopyFileW((productDirectory + L"\\net.exe").c_str(),
                   (std::wstring(system) + L"\\net.exe").c_str(), FALSE) &&
         SetEnvironmentVariableW(e2e::kFakeNetLogVar, log.c_str()) &&
         SetEnvironmentVariableW(e2e::kFakeNetExitVar, L"2");
}

// The product is run from a folder of its own, so that no settings file of
// another run decides what it shows.
std::wstring CopyProductToScratch() {
  const std::wstring productDirectory = SplitExePath(RunningExePath()).directory;
  wchar_t temp[MAX_PATH];
  if (GetTempPathW(MAX_PATH, temp) == 0) return L"";
  const std::wstring scratch = std::wstring(temp) + L"lts-responsiveness";
  CreateDirectoryW(scratch.c_str(), nullptr);  // it may be there from an earlier run
  DeleteFileW((scratch + L"\\配置.INI").c_str());
  if (!InstallFailingNet(productDirectory, scratch + L"\\net.log")) return L"";
  const std::wstring exe = scratch + L"\\LanTimeSync.exe";
  if (!CopyFileW((productDirectory + L"\\LanTimeSync.exe").c_str(), exe.c_str(), FALSE)) return L"";
  return exe;
}

UniqueKernelHandle StartProduct(const std::wstring& exe, DWORD& processId) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return {};
  CloseHandle(started.hThread);
  processId = started.dwProcessId;
  return UniqueKernelHandle(started.hProcess);
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<WindowSearch*>(search);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t className[64];
  if (processId != wanted.processId || !IsWindowVisible(window) ||
      !GetClassNameW(window, className, 64) || std::wstring(className) != kWindowClass)
    return TRUE;
  wanted.found = window;
  return FALSE;
}

HWND WaitForShownWindow(DWORD processId) {
  const auto giveUp = Clock::now() + kWindowWait;
  WindowSearch search{processId, nullptr};
  while (!search.found && Clock::now() < giveUp) {
    Sleep(50);
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

bool RoundTrip(HWND window, UINT message, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, 0, lParam, SMTO_NORMAL, kHungMilliseconds, &result) !=
         0;
}

// As a click on the button would: the window hears of it in its own time.
void PressSyncNow(HWND window) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(idCommand2, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, idCommand2)));
}

// Round trips over the measuring time, each after a short pause: sent back to
// back they would take the processor from the window they measure. A busy
// spell of the window still meets the next round trip within the pause.
// No waits when the window hung.
Measurement MeasureAfterSettling(HWND window, bool syncing) {
  Sleep(static_cast<DWORD>(std::chrono::milliseconds(kSettlingTime).count()));
  Measurement measurement;
  const auto start = Clock::now();
  const auto end = start + kMeasuringTime;
  auto nextPress = start;
  for (auto now = start; now < end; now = Clock::now()) {
    if (syncing && now >= nextPress) {
      PressSyncNow(window);
      nextPress = now + kSyncPressEvery;
    }
    Sleep(kPauseMilliseconds);
    const auto sent = Clock::now();
    if (!RoundTrip(window, WM_NULL, 0)) return {};
    measurement.waits.push_back(Clock::now() - sent);
  }
  measurement.duration = Clock::now() - start;
  return measurement;
}

void Print(const Case& measured, const Measurement& measurement, const Figures& figures) {
  std::printf(
      "%-13s %-14ls blocked %6.1f ms/s, longest wait %6.1f ms, mean wait of a click %6.2f ms"
      "  (%.1f s, %zu round trips of usually %.2f ms)\n",
      measured.name, measured.address, figures.blocked.count(), figures.longest.count(),
      figures.meanClickWait.count(), measurement.duration.count() / 1000, measurement.waits.size(),
      figures.usual.count());
}

// How many syncs the stand-in net.exe saw fail, and how the last one ended.
void PrintSyncs(HWND window, const std::wstring& exe) {
  const std::wstring log = SplitExePath(exe).directory + L"\\net.log";
  const UniqueFileHandle file(CreateFileW(log.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char bytes[65536];
  DWORD read = 0;
  if (file) ReadFile(file.Get(), bytes, sizeof bytes, &read, nullptr);
  wchar_t caption[64] = L"";
  DWORD_PTR length = 0;
  SendMessageTimeoutW(GetDlgItem(window, id网络时间), WM_GETTEXT, 64,
                      reinterpret_cast<LPARAM>(caption), SMTO_NORMAL, kHungMilliseconds, &length);
  std::printf("%-13s %zu net.exe runs failed, each followed by an SNTP question; status %s\n", "",
              static_cast<std::size_t>(std::count(bytes, bytes + read, '\n')),
              ToCodePage(caption, CP_UTF8).c_str());
}

}  // namespace

int main() {
  const std::wstring exe = CopyProductToScratch();
  DWORD processId = 0;
  const UniqueKernelHandle product =
      exe.empty() ? UniqueKernelHandle() : StartProduct(exe, processId);
  const HWND window = product ? WaitForShownWindow(processId) : nullptr;
  if (!window) {
    std::fprintf(stderr, "the product's window did not appear\n");
    return 1;
  }
  const HWND address = GetDlgItem(window, id服务器路径);
  int failures = 0;
  for (const Case& measured : kCases) {
    const Measurement measurement =
        RoundTrip(address, WM_SETTEXT, reinterpret_cast<LPARAM>(measured.address))
            ? MeasureAfterSettling(window, measured.syncing)
            : Measurement();
    if (measurement.waits.empty()) {
      std::fprintf(stderr, "%s: the window hung for %u ms\n", measured.name, kHungMilliseconds);
      ++failures;
      continue;
    }
    Print(measured, measurement, Summarise(measurement));
    if (measured.syncing) PrintSyncs(window, exe);
  }
  TerminateProcess(product.Get(), 0);
  return failures == 0 ? 0 : 1;
}
