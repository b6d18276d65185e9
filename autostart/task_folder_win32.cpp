#include "autostart/task_folder_win32.h"

#include <windows.h>

// A 32-bit process on 64-bit Windows would be shown SysWOW64 instead of
// System32, which holds no tasks.
std::wstring TaskFolder() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return std::wstring(windows, length) + (wow64 ? L"\\Sysnative\\Tasks" : L"\\System32\\Tasks");
}

开机运行::TaskPresence TaskFilePresence(const std::wstring& pattern) {
  const std::wstring folder = TaskFolder();
  if (folder.empty()) return 开机运行::TaskPresence::Unknown;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    return 开机运行::TaskPresence::Present;
  }
  // Anything else (access denied, no such folder) tells nothing of the task.
  return GetLastError() == ERROR_FILE_NOT_FOUND ? 开机运行::TaskPresence::Absent
                                                : 开机运行::TaskPresence::Unknown;
}
