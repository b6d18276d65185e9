#pragma once

#include <string>

#include "settings/ini_file.h"

// The settings file. It is read whole, in whatever encoding it was saved, and
// written whole in that encoding, with only the changed lines new: the new
// file is made beside the old and put in its place in one step.
class ProfileIniFile final : public 定义::IniFile {
 public:
  explicit ProfileIniFile(std::wstring path) : path_(std::move(path)) {}

  定义::IniFileRead Read() override;
  std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                             int bufferBytes) const override;
  std::int32_t ReadIniInt(const std::wstring& section, const std::wstring& key) const override;
  std::optional<定义::FileFailure> WriteIniChanges(
      const std::vector<定义::IniChange>& changes) override;

 private:
  std::wstring path_;
  std::wstring text_;  // the file as the last Read found it
};
