#pragma once

#include <optional>
#include <string>

#include "settings/disk_ini_file_win32.h"
#include "settings/settings.h"

// 配置.INI in the user's roaming application data, or nothing for a user
// without one.
std::optional<std::wstring> UsersOwnIniPath();

// The settings files of this run, chosen once at start by the rule the logon
// task follows, which asks about the user's token without administrator
// rights: a filtered and a full-token copy of the same user keep their
// settings in the same file.
class SettingsFilesOnDisk {
 public:
  SettingsFilesOnDisk(const std::wstring& exePath, const std::wstring& exeDirectory);

  定义::SettingsFiles Files() {
    return user_ ? 定义::SettingsFiles(*user_, &besideExe_) : 定义::SettingsFiles(besideExe_);
  }

 private:
  DiskIniFile besideExe_;
  std::optional<DiskIniFile> user_;
};
