#pragma once

#include <optional>
#include <string>

#include "settings/ini_file.h"

namespace 定义 {

inline constexpr wchar_t kIniFileName[] = L"配置.INI";

std::wstring IniPath(const std::wstring& exeDirectory);

// The three controls whose values are the settings. A value the control does
// not take is refused (false) and the control keeps its value.
class SettingsControls {
 public:
  virtual std::wstring 服务器路径Text() const = 0;
  virtual void Set服务器路径Text(const std::wstring& text) = 0;
  virtual int 开机自动运行Value() const = 0;
  virtual bool Set开机自动运行Value(int value) = 0;
  virtual int 滚动条Value() const = 0;
  virtual bool Set滚动条Value(int value) = 0;

 protected:
  ~SettingsControls() = default;
};

// Touches nothing unless the file was read. All three values are read before
// any is applied, so that a save raised by applying one cannot overwrite a
// stored value that has not been read yet.
IniFileRead LoadSettings(IniFile& file, SettingsControls& controls);

// Every key is written whatever the previous write gave; the first failure is
// returned, and the next save simply tries again.
std::optional<FileFailure> SaveSettings(IniFile& file, const SettingsControls& controls);

}  // namespace 定义
