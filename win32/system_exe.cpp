#include "win32/system_exe.h"

#include <windows.h>

std::optional<SystemExe> SystemExeNamed(const wchar_t* fileName) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  const std::wstring systemDirectory(directory, length);
  return SystemExe{systemDirectory + L"\\" + fileName, systemDirectory};
}
