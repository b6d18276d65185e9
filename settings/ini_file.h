#pragma once

#include <cstdint>
#include <string>

namespace 定义 {

// The system's profile functions, bound to the settings file.
class IniFile {
 public:
  // Only an ordinary file counts: a hidden or system file or a directory of
  // that name, or a path that cannot be searched, is missing.
  virtual bool Exists() const = 0;
  // At most bufferBytes - 1 bytes of the stored text, in the ANSI code page.
  virtual std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                                     int bufferBytes) const = 0;
  // 0 when the key is missing.
  virtual std::int32_t ReadIniInt(const std::wstring& section, const std::wstring& key) const = 0;
  virtual bool WriteIniString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) = 0;

 protected:
  ~IniFile() = default;
};

}  // namespace 定义
