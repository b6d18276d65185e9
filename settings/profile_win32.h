#pragma once

#include <string>

#include "settings/ini_file.h"

// The settings file through the system's profile functions. The W forms keep
// a program directory that the ANSI code page cannot spell working; the file
// itself is still written in the ANSI code page.
class ProfileIniFile final : public 定义::IniFile {
 public:
  explicit ProfileIniFile(std::wstring path) : path_(std::move(path)) {}

  bool Exists() const override;
  std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                             int bufferBytes) const override;
  std::int32_t ReadIniInt(const std::wstring& section, const std::wstring& key) const override;
  bool WriteIniString(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) override;

 private:
  std::wstring path_;
};
