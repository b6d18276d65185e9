#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/file_failure.h"

namespace 定义 {

enum class IniFileState { Missing, Unreadable, Read };

struct IniFileRead {
  IniFileState state = IniFileState::Missing;
  FileFailure whyUnreadable;
};

// A key to be given a value.
struct IniChange {
  std::wstring section, key, value;
};

// The settings file, bound to its path.
class IniFile {
 public:
  // Reads the whole file afresh. No file, or a directory of that name, is
  // missing; a file that is there but cannot be read now (locked by another
  // program, no right to read) is unreadable.
  virtual IniFileRead Read() = 0;
  // From what the last Read found: at most bufferBytes - 1 bytes of the
  // stored text, in the ANSI code page; empty when the key is missing.
  virtual std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                                     int bufferBytes) const = 0;
  // From what the last Read found: 0 when the key is missing.
  virtual std::int32_t ReadIniInt(const std::wstring& section, const std::wstring& key) const = 0;
  // Makes all the changes in one write of the file, which afterwards holds
  // either all of them or, when the failure is returned, none. Empty when
  // written.
  virtual std::optional<FileFailure> WriteIniChanges(const std::vector<IniChange>& changes) = 0;

 protected:
  ~IniFile() = default;
};

}  // namespace 定义
