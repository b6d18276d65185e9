#include "settings/settings_files_win32.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "autostart/exe_protection_win32.h"

std::optional<std::wstring> UsersOwnIniPath() {
  PWSTR folder = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
  std::optional<std::wstring> path;
  if (SUCCEEDED(result)) path = 定义::UserIniPath(folder);
  CoTaskMemFree(folder);
  return path;
}

// A user with no profile folder keeps today's file, and its notice.
SettingsFilesOnDisk::SettingsFilesOnDisk(const std::wstring& exePath,
                                         const std::wstring& exeDirectory)
    : besideExe_(定义::IniPath(exeDirectory)) {
  if (!ExeProtectedFromUser(exePath, exeDirectory)) return;
  if (const auto path = UsersOwnIniPath()) user_.emplace(*path);
}
