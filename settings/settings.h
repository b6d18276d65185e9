#pragma once

#include <optional>
#include <string>

#include "settings/ini_file.h"

namespace 定义 {

inline constexpr wchar_t kIniFileName[] = L"配置.INI";
// The program's name: the folder of the user's own settings file in the
// roaming application data.
inline constexpr wchar_t kUserSettingsFolder[] = L"局域网时间同步软件";

std::wstring IniPath(const std::wstring& exeDirectory);
std::wstring UserIniPath(const std::wstring& roamingAppData);

// Where the settings are kept: the one file beside the exe; or, where the
// user's programs may not write there (Program Files), the user's own file,
// read key by key over the administrator's preset beside the exe, which is
// never written.
struct SettingsFiles {
  SettingsFiles(IniFile& file, IniFile* preset = nullptr) : file(file), preset(preset) {}
  IniFile& file;  // read and written
  IniFile* preset;
  SettingsFile Saved() const { return preset ? SettingsFile::User : SettingsFile::BesideExe; }
};

// The three controls whose values are the settings. A stored value loaded
// into a control is shown with what follows from it, and saves nothing. A
// value the control does not take is refused (false) and the control keeps
// its value.
class SettingsControls {
 public:
  virtual std::wstring 服务器路径Text() const = 0;
  virtual void Load服务器路径Text(const std::wstring& text) = 0;
  virtual int 开机自动运行Value() const = 0;
  virtual bool Load开机自动运行Value(int value) = 0;
  virtual int 滚动条Value() const = 0;
  virtual bool Load滚动条Value(int value) = 0;

 protected:
  ~SettingsControls() = default;
};

// Some of the three settings.
struct SettingsKeys {
  bool address = false, autostart = false, interval = false;
  bool Any() const { return address || autostart || interval; }
};

struct SettingsLoad {
  IniFileState state = IniFileState::Missing;  // Read when either file was
  FileFailure whyUnreadable;
  SettingsFile unreadable = SettingsFile::BesideExe;
};

// Touches nothing while a file is unreadable, and never the controls of the
// kept keys. The one file beside the exe, once read, gives every key, a
// missing one as the system's profile functions read it (empty, 0). Over a
// preset, a key comes from the user's file, else from the preset, else the
// control keeps its value: the user's file holds only what the user changed.
SettingsLoad LoadSettings(const SettingsFiles& files, SettingsControls& controls,
                          SettingsKeys kept = {});

template <typename Value>
struct StoredValue {
  Value value{};
  bool inFile = false;  // false: the window's own value, and no file held it
};

// Each setting as it was last loaded from or saved to the file.
struct StoredSettings {
  StoredValue<std::wstring> address;
  StoredValue<int> autostart, interval;
};

// The controls' values; inFile when they were just loaded from the file.
StoredSettings StoredSettingsOf(const SettingsControls& controls, bool inFile);

// The values changed in the window since it was last loaded or saved.
SettingsKeys ChangedSince(const SettingsControls& controls, const StoredSettings& stored);
inline bool HasUnsavedChange(const SettingsControls& controls, const StoredSettings& stored) {
  return ChangedSince(controls, stored).Any();
}

// Writes only the keys whose value in the window differs from the stored one,
// so that a key the user did not change keeps what the file holds, hand edits
// made meanwhile included; a key the file is not known to hold is written too,
// so that a file created by a save holds all three. They are written together,
// in one write of the file: on success all three are recorded in stored as
// written, on failure none is, and the failure is returned.
std::optional<FileFailure> SaveSettings(IniFile& file, const SettingsControls& controls,
                                        StoredSettings& stored);

}  // namespace 定义
