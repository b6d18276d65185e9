#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/file_failure.h"
#include "settings/ini_encoding.h"

namespace 定义 {

enum class IniFileState { Missing, Unreadable, Read };

struct IniFileRead {
  IniFileState state = IniFileState::Missing;
  FileFailure whyUnreadable;
  std::wstring text;  // the whole file, decoded from whatever encoding it was saved in
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
  // The system's ANSI code page, in which a stored value's length is measured.
  virtual const AnsiCodePage& CodePage() const = 0;
  // Makes all the changes in one write of the file, which afterwards holds
  // either all of them or, when the failure is returned, none. Empty when
  // written.
  virtual std::optional<FileFailure> WriteIniChanges(const std::vector<IniChange>& changes) = 0;

 protected:
  ~IniFile() = default;
};

}  // namespace 定义
