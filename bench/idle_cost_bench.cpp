// What the product costs while nobody touches it, against a floor program
// that loads the same system parts and does the same idle work and nothing
// else (idle_floor.exe), and how long it takes to show its window against a
// bare window (idle_floor.exe bare). Rounds run one after the other; in each,
// the product and the floor idle side by side for the same 20 s, so that
// whatever else the machine does meanwhile weighs on both alike. Medians
// over the rounds, so that one round spoiled by a busy neighbour does not
// decide. Prints figures; asserts none. Run inside the loopback-only sandbox, where 127.0.0.1
// answers.
//
// How each figure is read, and why it is honest under Wine:
// - CPU at rest: the run time the kernel counts for each thread of the Unix
//   process that is the Windows process (/proc/<pid>/task/*/schedstat, in
//   nanoseconds, read through Wine's Z: drive), summed, over 20 s after a
//   few seconds of settling. The process's utime and stime count in 10 ms
//   ticks, too coarse for the few ticks either program takes at rest; they
//   are printed beside it, as they keep the time of threads that ended,
//   which the sum would miss. GetProcessTimes cannot be used: Wine fills it
//   for the calling process only. Time wineserver spends on the process's
//   calls is in neither, for the product and the floor alike.
// - Private memory: RssAnon of that Unix process (/proc/<pid>/status), the
//   anonymous memory resident at the end of the idle time: heaps, stacks,
//   the copies Wine makes of what it loads. It leaves out the mapped files
//   (the exe, Wine's DLLs), which the pages of the disk cache share with
//   every process. It is what Wine itself reports as a process's private
//   bytes (RssAnon plus swap).
// - Start-up: from just before CreateProcess until the main window is
//   visible, polled every few milliseconds from here. The bare window is the
//   floor's exe showing a window and doing nothing else: like the floor, it
//   loads every DLL the floor imports before its first line runs, where the
//   product loads OLE, the shell and the ICMP helper only at their first
//   use. A program importing no more than a window needs shows one sooner.
//   Start-ups swing with whatever the machine does at that instant, by tens
//   of milliseconds either way, so the product's and the bare window's are
//   taken alone and in turns, five of each per round, and compared by their
//   medians: per round, and over every round's start-ups together, which is
//   the start-up figure to go by.
// The Unix process is found by a tag on its command line, which Wine shows
// as the Unix process's own (the product takes no arguments and ignores it).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/window_query.h"
#include "support/work_dir.h"
#include "ui/layout.h"

namespace {

using Clock = std::chrono::steady_clock;

// Five, as one round in three on a busy machine is a neighbour's.
constexpr int kRounds = 5;
constexpr int kStartupPairs = 5;
constexpr DWORD kIdleMilliseconds = 20000;
// The window shown is not the end of the start: the first ticks, the first
// echo, the settings read late.
constexpr DWORD kSettlingMilliseconds = 3000;
constexpr DWORD kPollMilliseconds = 2;
constexpr auto kWindowWait = std::chrono::seconds(60);
constexpr DWORD kHungMilliseconds = 10000;
constexpr wchar_t kAnsweringAddress[] = L"127.0.0.1";

struct Program {
  std::wstring exe;
  std::wstring windowClass;
  std::wstring arguments;
};

struct Started {
  e2e::Process process;
  HWND window = nullptr;
  double startupMilliseconds = 0;
  std::string unixPid;
};

struct Figures {
  std::vector<double> bareStartups, productStartups;  // milliseconds
  double bareStartup = 0, floorStartup = 0, productStartup = 0;
  double floorCpu = 0, productCpu = 0;  // milliseconds
  double floorTicks = 0, productTicks = 0;
  double floorKilobytes = 0, productKilobytes = 0;
};

// What one program has used so far.
struct CpuUse {
  long ticks = -1;
  double milliseconds = -1;
};

std::string ReadUnixFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::wstring ProcFile(const std::string& pid, const wchar_t* name) {
  return L"Z:\\proc\\" + std::wstring(pid.begin(), pid.end()) + L"\\" + name;
}

// Other sandboxes on the machine run Wine processes of the same names; only
// the tag tells this run's apart.
std::string UnixPidTagged(const std::wstring& tag) {
  const std::string narrowTag(tag.begin(), tag.end());
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string pid;
  do {
    const std::wstring name = found.cFileName;
    if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string candidate(name.begin(), name.end());
    if (ReadUnixFile(ProcFile(candidate, L"cmdline")).find(narrowTag) != std::string::npos)
      pid = candidate;
  } while (pid.empty() && FindNextFileW(search, &found));
  FindClose(search);
  return pid;
}

// utime and stime, the 14th and 15th fields; the name in the second may
// hold blanks and parentheses, so counting starts after its last ')'.
long CpuTicks(const std::string& pid) {
  const std::string stat = ReadUnixFile(ProcFile(pid, L"stat"));
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return -1;
  std::istringstream fields(stat.substr(nameEnd + 1));
  std::string field;
  for (int i = 3; i <= 13; ++i) fields >> field;
  long user = -1, system = -1;
  fields >> user >> system;
  return user < 0 || system < 0 ? -1 : user + system;
}

double ThreadRunMilliseconds(const std::string& pid) {
  const std::wstring tasks = ProcFile(pid, L"task");
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((tasks + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double nanoseconds = 0;
  do {
    if (found.cFileName[0] == L'.') continue;
    const std::string schedstat = ReadUnixFile(tasks + L"\\" + found.cFileName + L"\\schedstat");
    nanoseconds += std::strtod(schedstat.c_str(), nullptr);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return nanoseconds / 1e6;
}

CpuUse CpuUsed(const std::string& pid) { return {CpuTicks(pid), ThreadRunMilliseconds(pid)}; }

long ResidentAnonymousKilobytes(const std::string& pid) {
  const std::string status = ReadUnixFile(ProcFile(pid, L"status"));
  const std::size_t at = status.find("RssAnon:");
  if (at == std::string::npos) return -1;
  return std::strtol(status.c_str() + at + 8, nullptr, 10);
}

HWND WaitForShownWindow(const e2e::Process& process, const std::wstring& windowClass) {
  const auto giveUp = Clock::now() + kWindowWait;
  while (Clock::now() < giveUp && process.Running()) {
    if (const HWND window =
            e2e::FindTopWindow(process.Id(), {.className = windowClass, .visibleOnly = true}))
      return window;
    Sleep(kPollMilliseconds);
  }
  return nullptr;
}

bool Report(const std::wstring& program, const char* what) {
  std::fprintf(stderr, "idle cost: %ls: %s\n", program.c_str(), what);
  return false;
}

std::optional<Started> Start(const Program& program, const std::wstring& tag) {
  Started started;
  const auto launched = Clock::now();
  started.process = e2e::Process::Launch(program.exe, {.arguments = program.arguments + tag});
  if (!started.process.Started()) return Report(tag, "did not start"), std::nullopt;
  started.window = WaitForShownWindow(started.process, program.windowClass);
  if (!started.window) return Report(tag, "showed no window"), std::nullopt;
  started.startupMilliseconds =
      std::chrono::duration<double, std::milli>(Clock::now() - launched).count();
  started.unixPid = UnixPidTagged(tag);
  if (started.unixPid.empty()) return Report(tag, "has no Unix process in /proc"), std::nullopt;
  return started;
}

std::wstring CopyToFreshFolder(const std::wstring& exeName, const std::wstring& folder) {
  const std::wstring directory = e2e::FreshWorkDir(folder);
  return directory.empty() ? L"" : e2e::CopyInto(e2e::BinFile(exeName), directory);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Start-ups vary most with what the machine does at that moment, so the
// product's and the bare window's are taken in turns, each alone, and their
// medians kept. Only one copy of the product may run at a time.
bool MeasureStartups(const std::wstring& roundTag, const Program& bare, const Program& product,
                     Figures& figures) {
  std::vector<double>& bareStartups = figures.bareStartups;
  std::vector<double>& productStartups = figures.productStartups;
  for (int pair = 0; pair < kStartupPairs; ++pair) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool productTurn = (pair + turn) % 2 == 1;
      const std::wstring tag =
          roundTag + L"-" + std::to_wstring(pair) + L"-" + (productTurn ? L"product" : L"bare");
      const auto started = Start(productTurn ? product : bare, tag);
      if (!started) return false;
      (productTurn ? productStartups : bareStartups).push_back(started->startupMilliseconds);
    }
  }
  figures.bareStartup = Median(bareStartups);
  figures.productStartup = Median(productStartups);
  return true;
}

bool MeasureRound(int round, const Program& bare, const Program& floor, const Program& product,
                  Figures& figures) {
  const std::wstring roundTag =
      L"lts-idle-cost-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(round);
  if (!MeasureStartups(roundTag, bare, product, figures)) return false;
  // The floor starts last and so is in front: the product idles behind it,
  // as it does behind the user's work. In front, the caret that blinks in
  // its address box would add to its figures a cost of the edit box that a
  // floor without one cannot show.
  std::optional<Started> productRun = Start(product, roundTag + L"-product");
  std::optional<Started> floorRun = Start(floor, roundTag + L"-floor");
  if (!floorRun || !productRun) return false;
  figures.floorStartup = floorRun->startupMilliseconds;

  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(GetDlgItem(productRun->window, id服务器路径), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(kAnsweringAddress), SMTO_NORMAL,
                           kHungMilliseconds, &result))
    return Report(L"product", "its address box did not take the address");
  Sleep(kSettlingMilliseconds);
  const CpuUse floorBefore = CpuUsed(floorRun->unixPid);
  const CpuUse productBefore = CpuUsed(productRun->unixPid);
  Sleep(kIdleMilliseconds);
  const CpuUse floorAfter = CpuUsed(floorRun->unixPid);
  const CpuUse productAfter = CpuUsed(productRun->unixPid);
  const long floorKilobytes = ResidentAnonymousKilobytes(floorRun->unixPid);
  const long productKilobytes = ResidentAnonymousKilobytes(productRun->unixPid);
  for (const CpuUse& read : {floorBefore, productBefore, floorAfter, productAfter})
    if (read.ticks < 0 || read.milliseconds < 0) return Report(roundTag, "/proc could not be read");
  if (floorKilobytes < 0 || productKilobytes < 0)
    return Report(roundTag, "/proc could not be read");
  figures.floorCpu = floorAfter.milliseconds - floorBefore.milliseconds;
  figures.productCpu = productAfter.milliseconds - productBefore.milliseconds;
  figures.floorTicks = static_cast<double>(floorAfter.ticks - floorBefore.ticks);
  figures.productTicks = static_cast<double>(productAfter.ticks - productBefore.ticks);
  figures.floorKilobytes = static_cast<double>(floorKilobytes);
  figures.productKilobytes = static_cast<double>(productKilobytes);
  return true;
}

Figures Medians(const std::vector<Figures>& rounds) {
  Figures medians;
  for (double Figures::*figure :
       {&Figures::bareStartup, &Figures::floorStartup, &Figures::productStartup, &Figures::floorCpu,
        &Figures::productCpu, &Figures::floorTicks, &Figures::productTicks,
        &Figures::floorKilobytes, &Figures::productKilobytes}) {
    std::vector<double> values;
    for (const Figures& round : rounds) values.push_back(round.*figure);
    medians.*figure = Median(values);
  }
  return medians;
}

double Ratio(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0;
}

void Print(const std::string& label, const Figures& figures) {
  std::printf(
      "%-8s private memory (resident anonymous): floor %5.0f KB, product %5.0f KB, %.2fx | "
      "CPU at rest in %lu s: floor %5.1f ms, product %5.1f ms, %.2fx "
      "(10 ms ticks %2.0f, %2.0f) | "
      "start-up to a shown window: bare %4.0f ms, floor %4.0f ms, product %4.0f ms, "
      "%.2fx bare\n",
      label.c_str(), figures.floorKilobytes, figures.productKilobytes,
      Ratio(figures.productKilobytes, figures.floorKilobytes),
      static_cast<unsigned long>(kIdleMilliseconds / 1000), figures.floorCpu, figures.productCpu,
      Ratio(figures.productCpu, figures.floorCpu), figures.floorTicks, figures.productTicks,
      figures.bareStartup, figures.floorStartup, figures.productStartup,
      Ratio(figures.productStartup, figures.bareStartup));
}

// Each round's figures were taken at the same moments, under the same load;
// the medians above were not, so these are the ratios to go by. A round
// holds only a few start-ups, so theirs are also pooled over the rounds.
void PrintRatioMedians(const std::vector<Figures>& rounds) {
  std::vector<double> memory, cpu, startup, bareStartups, productStartups;
  for (const Figures& round : rounds) {
    memory.push_back(Ratio(round.productKilobytes, round.floorKilobytes));
    cpu.push_back(Ratio(round.productCpu, round.floorCpu));
    startup.push_back(Ratio(round.productStartup, round.bareStartup));
    bareStartups.insert(bareStartups.end(), round.bareStartups.begin(), round.bareStartups.end());
    productStartups.insert(productStartups.end(), round.productStartups.begin(),
                           round.productStartups.end());
  }
  std::printf(
      "ratios   median of the rounds' own: private memory %.2fx the floor, CPU at rest %.2fx "
      "the floor, start-up %.2fx a bare window\n",
      Median(memory), Median(cpu), Median(startup));
  std::printf(
      "start-up over all %zu rounds' start-ups: bare window %.0f ms, product %.0f ms, %.2fx\n",
      rounds.size(), Median(bareStartups), Median(productStartups),
      Ratio(Median(productStartups), Median(bareStartups)));
}

}  // namespace

int main() {
  const std::wstring floorExe = CopyToFreshFolder(L"idle_floor.exe", L"idle_cost_floor");
  const std::wstring productExe = CopyToFreshFolder(L"LanTimeSync.exe", L"idle_cost_product");
  if (floorExe.empty() || productExe.empty()) {
    Report(L"", "the programs could not be copied to folders of their own");
    return 1;
  }
  const Program bare{floorExe, L"LanTimeSync.IdleFloor", L"bare "};
  const Program floor{floorExe, L"LanTimeSync.IdleFloor", L""};
  const Program product{productExe, L"LanTimeSync.MainWindow", L""};

  std::vector<Figures> rounds;
  for (int round = 0; round < kRounds; ++round) {
    Figures figures;
    if (!MeasureRound(round, bare, floor, product, figures)) return 1;
    rounds.push_back(figures);
    Print("round " + std::to_string(round + 1), figures);
    std::fflush(stdout);
  }
  Print("median", Medians(rounds));
  PrintRatioMedians(rounds);
  return 0;
}
