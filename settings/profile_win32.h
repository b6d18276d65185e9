#pragma once

#include <string>

#include "settings/ini_file.h"

// The settings file. It is read whole, in whatever encoding it was saved, and
// written through the system's profile functions. The W forms keep a program
// directory that the ANSI code page cannot spell working; the file itself is
// still written in the ANSI code page.
class ProfileIniFile final : public 定义::IniFile {
 public:
  explicit ProfileIniFile(std::wstring path) : path_(std::move(path)) {}

  定义::IniFileRead Read() override;
  std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                             int bufferBytes) const override;
  std::int32_t ReadIniInt(const std::wstring& section, const std::wstring& key) const override;
  std::optional<定义::FileFailure> WriteIniString(const std::wstring& section,
                                                  const std::wstring& key,
                                                  const std::wstring& value) override;

 private:
  std::wstring path_;
  std::wstring text_;  // the file as the last Read found it
};
