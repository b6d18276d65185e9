#pragma once

#include <string>

#include "settings/ini_file.h"

// CP_ACP, as this system is set up.
class SystemCodePage final : public 定义::AnsiCodePage {
 public:
  std::wstring Decode(std::string_view bytes) const override;
  std::optional<std::string> EncodeExactly(std::wstring_view text) const override;
};

// The settings file on disk. It is read whole, in whatever encoding it was
// saved, and written whole in that encoding, with only the changed lines new:
// the new file is made beside the old and put in its place in one step. A
// save makes the file's folder when it is missing.
class DiskIniFile final : public 定义::IniFile {
 public:
  explicit DiskIniFile(std::wstring path) : path_(std::move(path)) {}

  定义::IniFileRead Read() override;
  const 定义::AnsiCodePage& CodePage() const override { return codePage_; }
  std::optional<定义::FileFailure> WriteIniChanges(
      const std::vector<定义::IniChange>& changes) override;

 private:
  std::wstring path_;
  SystemCodePage codePage_;
};
