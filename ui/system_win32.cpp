#include "ui/system_win32.h"

#include "sync/probe_win32.h"
#include "ui/echo_message_win32.h"
#include "ui/window_win32.h"

namespace {
// Per session: each user logged on may run the program once.
constexpr wchar_t kInstanceMutexName[] = L"Local\\LanTimeSync.SingleInstance";
}  // namespace

// Only a mutex made here and now means no other copy runs. One that an
// elevated copy made cannot be opened from an unelevated one (access
// denied), and that copy runs as surely as one whose mutex already exists.
bool SystemWin32::IsAnotherInstanceRunning() {
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  const DWORD error = GetLastError();
  instanceMutex_.Reset(mutex);
  return !mutex || error == ERROR_ALREADY_EXISTS;
}

// Both copies' windows are of one class; the first copy's is the other one.
void SystemWin32::ShowRunningInstance() {
  HWND first = nullptr;
  do first = FindWindowExW(nullptr, first, MainWindow::kWindowClass, nullptr);
  while (first == window_);
  if (!first) return;
  // Windows brings a program's window to the front only when the program
  // in front allows it; this copy, just started by the user, is in front.
  DWORD firstProcess = 0;
  if (GetWindowThreadProcessId(first, &firstProcess)) AllowSetForegroundWindow(firstProcess);
  PostMessageW(first, MainWindow::kShowRequestMessage, 0, 0);
}

std::wstring SystemWin32::LongTimeNow() {
  wchar_t text[80];
  const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 80);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

std::chrono::milliseconds SystemWin32::SteadyNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
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

void SystemWin32::ReportEnded(同步软件& form) {
  if (const auto ended = syncCommand_.TakeEnd()) form.SyncCommand_Ended(*ended);
}
