#include "ui/system_win32.h"

#include "sync/probe_win32.h"

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

bool SystemWin32::ProbeHost(const std::wstring& address) { return ping::ProbeHost(address); }

std::wstring SystemWin32::LongTimeNow() {
  wchar_t text[80];
  const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 80);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

void SystemWin32::ShowUsage(const std::wstring& caption, const std::wstring& text) {
  MessageBoxW(window_, text.c_str(), caption.c_str(), MB_OK);
}
