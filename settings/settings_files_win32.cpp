#include "settings/settings_files_win32.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "settings/exe_protection_win32.h"

namespace {

std::optional<std::wstring> RoamingAppData() {
  PWSTR folder = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
  std::optional<std::wstring> path;
  if (SUCCEEDED(result)) path = folder;
  CoTaskMemFree(folder);
  return path;
}

}  // namespace

// A user with no profile folder keeps today's file, and its notice.
SettingsFilesOnDisk::SettingsFilesOnDisk(const std::wstring& exePath,
                                         const std::wstring& exeDirectory)
    : besideExe_(定义::IniPath(exeDirectory)) {
  if (!ExeProtectedFromUser(exePath, exeDirectory)) return;
  if (const auto appData = RoamingAppData()) user_.emplace(定义::UserIniPath(*appData));
}
