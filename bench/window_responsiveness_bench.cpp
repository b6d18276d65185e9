// How long the real window keeps a user waiting while it checks its server,
// measured from outside as a user would feel it: message round trips to the
// window, back to back, for 10 s per address. Run inside the loopback-only
// sandbox, where 127.0.0.1 answers and echo requests to 127.0.0.9 are dropped.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "settings/exe_location.h"
#include "settings/exe_location_win32.h"
#include "ui/layout.h"
#include "win32/unique_handle.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
constexpr auto kMeasuringTime = std::chrono::seconds(10);
// Lets the checks of the previous address run out before measuring the next.
constexpr auto kSettlingTime = std::chrono::seconds(1);
constexpr auto kWindowWait = std::chrono::seconds(60);
// A round trip to an idle window takes a fraction of this; a longer one means
// the window was busy and answered nothing meanwhile.
constexpr Milliseconds kPromptAnswer{1.0};
constexpr UINT kHungMilliseconds = 10000;

struct Case {
  const char* name;
  const wchar_t* address;
};

constexpr Case kCases[] = {
    {"reachable", L"127.0.0.1"},
    {"silent", L"127.0.0.9"},
    {"unconvertible", L"192.168.1.1.5"},
};

struct Figures {
  Milliseconds measured{}, blocked{}, longest{};
  // Sum of the squared waits: a click at a random moment during a wait of d
  // waits d/2 on average, and lands in it with a chance proportional to d.
  double squaredMilliseconds = 0;
  long roundTrips = 0;
};

// The product is run from a folder of its own, so that no settings file of
// another run decides what it shows.
std::wstring CopyProductToScratch() {
  const std::wstring productDirectory = SplitExePath(RunningExePath()).directory;
  wchar_t temp[MAX_PATH];
  if (GetTempPathW(MAX_PATH, temp) == 0) return L"";
  const std::wstring scratch = std::wstring(temp) + L"lts-responsiveness";
  CreateDirectoryW(scratch.c_str(), nullptr);  // it may be there from an earlier run
  DeleteFileW((scratch + L"\\配置.INI").c_str());
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

bool MeasureAfterSettling(HWND window, Figures& figures) {
  Sleep(static_cast<DWORD>(std::chrono::milliseconds(kSettlingTime).count()));
  const auto end = Clock::now() + kMeasuringTime;
  for (auto sent = Clock::now(); sent < end;) {
    if (!RoundTrip(window, WM_NULL, 0)) return false;
    const auto answered = Clock::now();
    const Milliseconds wait = answered - sent;
    sent = answered;
    figures.measured += wait;
    if (wait > kPromptAnswer) figures.blocked += wait;
    figures.longest = std::max(figures.longest, wait);
    figures.squaredMilliseconds += wait.count() * wait.count();
    ++figures.roundTrips;
  }
  return true;
}

void Print(const Case& measured, const Figures& figures) {
  const double seconds = figures.measured.count() / 1000;
  std::printf(
      "%-13s %-14ls blocked %6.1f ms/s, longest wait %6.1f ms, mean wait of a click %6.2f ms"
      "  (%.1f s, %ld round trips)\n",
      measured.name, measured.address, figures.blocked.count() / seconds, figures.longest.count(),
      figures.squaredMilliseconds / 2 / figures.measured.count(), seconds, figures.roundTrips);
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
    Figures figures;
    if (!RoundTrip(address, WM_SETTEXT, reinterpret_cast<LPARAM>(measured.address)) ||
        !MeasureAfterSettling(window, figures)) {
      std::fprintf(stderr, "%s: the window hung for %u ms\n", measured.name, kHungMilliseconds);
      ++failures;
      continue;
    }
    Print(measured, figures);
  }
  TerminateProcess(product.Get(), 0);
  return failures == 0 ? 0 : 1;
}
