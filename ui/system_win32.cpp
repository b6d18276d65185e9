#include "ui/system_win32.h"

#include <mutex>
#include <string>
#include <utility>

#include "sync/clock_right_win32.h"
#include "sync/clock_set_win32.h"
#include "sync/consent_win32.h"
#include "sync/probe_win32.h"
#include "sync/sntp_win32.h"
#include "win32/slim_lock.h"
#include "text/decimal_text.h"
#include "ui/window_messages_win32.h"
#include "ui/window_win32.h"

namespace {
// Per session: each user logged on may run the program once.
constexpr wchar_t kInstanceMutexName[] = L"Local\\LanTimeSync.SingleInstance";
constexpr wchar_t kFirstCopyNamePrefix[] = L"Local\\LanTimeSync.FirstCopy.";
// Long enough for a first copy that is slowed down between making the mutex
// and marking its window; it is never waited for once it has marked it.
constexpr DWORD kMarkWaitMilliseconds = 5000;
// A copy asked to leave saves its settings and ends in a moment.
constexpr DWORD kHandOverWaitMilliseconds = 10000;

// Made by the copy that made the instance mutex, while it holds it, and
// kept while it runs: another program may have a window of the class with
// the mark, but it has not made the mutex.
std::wstring FirstCopyName(DWORD process) { return kFirstCopyNamePrefix + DecimalText(process); }

// One that an elevated first copy made cannot be opened from an
// unelevated copy (access denied), yet it is there all the same.
bool IsTheFirstCopy(DWORD process) {
  const UniqueKernelHandle opened(OpenEventW(SYNCHRONIZE, FALSE, FirstCopyName(process).c_str()));
  return opened || GetLastError() == ERROR_ACCESS_DENIED;
}

bool IsTheFirstCopysWindow(HWND window) {
  DWORD process = 0;
  return GetPropW(window, MainWindow::kFirstCopyMark) &&
         GetWindowThreadProcessId(window, &process) && IsTheFirstCopy(process);
}

// Copies started at the same moment all have a window of the class for a
// while, and any of them may be one that is about to end too: a request sent
// there is lost with it. Only the marked window is the first copy's.
HWND FirstCopyWindow() {
  HWND window = nullptr;
  do window = FindWindowExW(nullptr, window, MainWindow::kWindowClass, nullptr);
  while (window && !IsTheFirstCopysWindow(window));
  return window;
}

// The first copy holds the mutex until its window is marked.
void WaitUntilTheFirstCopyIsMarked(HANDLE mutex) {
  const DWORD waited = WaitForSingleObject(mutex, kMarkWaitMilliseconds);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ReleaseMutex(mutex);
}

}  // namespace

struct SystemWin32::SntpMailbox {
  SlimLock lock;
  std::uint32_t question = 0;
  sntp::Answer answer;
};

SystemWin32::SystemWin32(HWND window, TrayIconWin32& tray)
    : window_(window), tray_(tray), sntpMailbox_(std::make_shared<SntpMailbox>()) {}

// Only a mutex made here and now means no other copy runs. One that an
// elevated copy made cannot be opened from an unelevated one (access
// denied), and that copy runs as surely as one whose mutex already exists.
bool SystemWin32::IsAnotherInstanceRunning() {
  if (!MakeInstanceMutex() && !(ReplacedACopyWithoutTheClockRight() && MakeInstanceMutex()))
    return true;
  // Made owned, so that a copy started meanwhile waits for the mark. Should
  // the name not be made, a later copy cannot show this one, which runs all
  // the same.
  firstCopy_.Reset(
      CreateEventW(nullptr, TRUE, FALSE, FirstCopyName(GetCurrentProcessId()).c_str()));
  SetPropW(window_, MainWindow::kFirstCopyMark, window_);
  ReleaseMutex(instanceMutex_.Get());
  return false;
}

bool SystemWin32::MakeInstanceMutex() {
  const HANDLE mutex = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
  const DWORD error = GetLastError();
  instanceMutex_.Reset(mutex);
  return mutex && error != ERROR_ALREADY_EXISTS;
}

// The copy a logon task starts holds the right; one a Run value left from
// before started first may not, and the one that stays should sync. The
// other copy's token is read, not its word taken.
bool SystemWin32::ReplacedACopyWithoutTheClockRight() {
  if (!ProcessHoldsClockRight(GetCurrentProcess())) return false;
  if (instanceMutex_) WaitUntilTheFirstCopyIsMarked(instanceMutex_.Get());
  const HWND first = FirstCopyWindow();
  DWORD process = 0;
  if (!first || !GetWindowThreadProcessId(first, &process)) return false;
  const UniqueKernelHandle firstProcess(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, process));
  if (!firstProcess || ProcessHoldsClockRight(firstProcess.Get())) return false;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(first, kHandOverMessage, 0, 0, SMTO_ABORTIFHUNG,
                           kHandOverWaitMilliseconds, &answer) ||
      WaitForSingleObject(firstProcess.Get(), kHandOverWaitMilliseconds) != WAIT_OBJECT_0)
    return false;
  replacedCopyShown_ = answer == static_cast<DWORD_PTR>(kHandedOverShown);
  // Its mutex lives on while this copy holds it open.
  instanceMutex_.Reset();
  return true;
}

void SystemWin32::ShowRunningInstance() {
  // A mutex this copy could not open cannot be waited for; a first copy
  // able to make it has long marked its window.
  if (instanceMutex_) WaitUntilTheFirstCopyIsMarked(instanceMutex_.Get());
  const HWND first = FirstCopyWindow();
  if (!first) return;
  // Windows brings a program's window to the front only when the program
  // in front allows it; this copy, just started by the user, is in front.
  DWORD firstProcess = 0;
  if (GetWindowThreadProcessId(first, &firstProcess)) AllowSetForegroundWindow(firstProcess);
  PostMessageW(first, kShowRequestMessage, 0, 0);
}

std::wstring SystemWin32::LongTimeNow() {
  wchar_t text[80];
  const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 80);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

// The system's own count: std::chrono::steady_clock's library code links a
// POSIX clock emulation into the exe.
std::chrono::milliseconds SystemWin32::SteadyNow() {
  return std::chrono::milliseconds(GetTickCount64());
}

void SystemWin32::ShowUsage(const std::wstring& caption, const std::wstring& text) {
  MessageBoxW(window_, text.c_str(), caption.c_str(), MB_OK);
}

// An end whose message cannot be posted (the queue full, the window gone) is
// lost; the form gives such an echo up after a second.
void SystemWin32::ProbeHost(EchoTicket echo, std::int32_t address) {
  const HWND window = window_;
  const bool sent = ping::SendEcho(
      address, [window, echo](bool answered) { PostEchoEnded(window, echo, answered); });
  if (!sent) PostEchoEnded(window_, echo, false);
}

// An end whose message cannot be posted (the queue full, the window gone)
// is lost; the attempt ends such a command at its time limit.
CommandEnded SystemWin32::PostEndTo(std::uint32_t command) {
  const HWND window = window_;
  return [window, command](std::uint32_t exitCode) { PostCommandEnded(window, command, exitCode); };
}

bool SystemWin32::StartSyncCommand(std::uint32_t command, const std::wstring& commandLine) {
  runningCommand_ = command;
  return syncCommand_.Start(commandLine, PostEndTo(command));
}

// That command is the prompt's thread's, not syncCommand_'s: it has no
// words to take, and this program could not end it.
void SystemWin32::StartSyncCommandElevated(std::uint32_t command, const std::wstring& arguments) {
  const HWND window = window_;
  const auto consented = [window, command](ElevatedStart start) {
    PostConsentEnded(window, command, start);
  };
  if (!StartElevatedSyncCommand(window_, arguments, consented, PostEndTo(command)))
    PostConsentEnded(window_, command, ElevatedStart::Failed);
}

// Only the command started last has words to take; the end of one ended
// before is dropped by the attempt anyway. What that command started may
// still hold its pipe: it ends with the command's job.
CommandEnd SystemWin32::CommandEndOf(WPARAM wParam, LPARAM lParam) {
  const std::uint32_t command = CommandNumberOf(wParam);
  if (command != runningCommand_) return {command, ExitCodeOf(lParam), std::wstring()};
  std::wstring output = syncCommand_.TakeOutput();
  syncCommand_.End();
  return {command, ExitCodeOf(lParam), std::move(output)};
}

// One question at a time: the mailbox holds the answer to the last one.
bool SystemWin32::AskSntp(std::uint32_t question, std::int32_t address) {
  const HWND window = window_;
  const std::shared_ptr<SntpMailbox> mailbox = sntpMailbox_;
  return sntp::AskOnPool(address, sntp::kServerPort,
                         [window, mailbox, question](const sntp::Answer& answer) {
                           {
                             const std::lock_guard<SlimLock> held(mailbox->lock);
                             mailbox->question = question;
                             mailbox->answer = answer;
                           }
                           PostSntpEnded(window, question);
                         });
}

sntp::Answer SystemWin32::SntpAnswerOf(WPARAM wParam) {
  const std::lock_guard<SlimLock> held(sntpMailbox_->lock);
  if (sntpMailbox_->question != SntpQuestionOf(wParam)) return {};
  return sntpMailbox_->answer;
}

ClockSetEnd SystemWin32::SetClockBy(sntp::Offset offset) { return ::SetClockBy(offset); }
