#include "tray.h"

#include <shellapi.h>

#include "process.h"
#include "tooltip.h"
#include "win32/unique_handle.h"

namespace e2e {

bool TrayIconExists(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::vector<std::wstring> TrayTips() {
  std::vector<std::wstring> tips;
  for (const DWORD id : ProcessIdsByExeName(L"explorer.exe")) {
    const UniqueKernelHandle explorer(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (!explorer) continue;
    for (std::wstring& tip : ToolTipTexts(explorer.Get(), id)) tips.push_back(std::move(tip));
  }
  return tips;
}

HWND WaitForTaskbar(int timeoutMs) {
  HWND taskbar = nullptr;
  WaitFor([&] { return (taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) != nullptr; }, timeoutMs);
  return taskbar;
}

}  // namespace e2e
