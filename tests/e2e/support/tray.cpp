#include "tray.h"

#include <shellapi.h>

namespace e2e {

bool TrayIconExists(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

HWND WaitForTaskbar(int timeoutMs) {
  HWND taskbar = nullptr;
  WaitFor([&] { return (taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) != nullptr; }, timeoutMs);
  return taskbar;
}

}  // namespace e2e
