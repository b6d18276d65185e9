#pragma once

#include <optional>
#include <string>

#include "settings/exe_location.h"

namespace 开机运行 {

inline constexpr wchar_t kRunValueName[] = L" 开机同步程序";

enum class RunKeyHive { LocalMachine, CurrentUser };

// The "Software\Microsoft\Windows\CurrentVersion\Run" key of either hive.
class RunKey {
 public:
  virtual std::optional<std::wstring> ReadValue(RunKeyHive hive, const std::wstring& name) = 0;
  virtual bool SetValue(RunKeyHive hive, const std::wstring& name, const std::wstring& data) = 0;
  // False when the value is still there: a token UAC filtered may not
  // change the machine's key.
  virtual bool DeleteValue(RunKeyHive hive, const std::wstring& name) = 0;

 protected:
  ~RunKey() = default;
};

// Whose values of the name a removal takes: a click on the box takes every
// one, as the box has always done; a load only the one holding this copy's
// path, so that a copy elsewhere keeps its own.
enum class WhoseRunValues { EveryCopys, ThisCopys };

// Directory, "\", base name, ".exe". Quoted when it holds a blank, since
// Windows would otherwise try C:\Program.exe for C:\Program Files\...
std::wstring RunValueData(const ExeLocation& exe);

// Machine-wide when the user may write there, otherwise for this user only,
// so that a ticked box always means the program starts at logon. Disabling
// removes the value from both. False when a value to remove is still there.
bool SetAutostart(bool enable, RunKey& runKey, const std::wstring& data);

// Removes this program's value (the one holding data) from both hives; the
// value of a copy elsewhere is left alone. False when it is still there.
bool RemoveOwnAutostart(RunKey& runKey, const std::wstring& data);

bool RemoveAutostart(RunKey& runKey, const std::wstring& data, WhoseRunValues whose);

}  // namespace 开机运行
