#include "settings/autostart.h"

namespace 开机运行 {

std::wstring RunValueData(const ExeLocation& exe) {
  const std::wstring path = exe.directory + L"\\" + exe.baseName + L".exe";
  if (path.find(L' ') == std::wstring::npos) return path;
  return L"\"" + path + L"\"";
}

void SetAutostart(bool enable, RunKey& runKey, const std::wstring& data) {
  if (!enable) {
    runKey.DeleteValue(RunKeyHive::LocalMachine, kRunValueName);
    runKey.DeleteValue(RunKeyHive::CurrentUser, kRunValueName);
    return;
  }
  if (runKey.SetValue(RunKeyHive::LocalMachine, kRunValueName, data)) {
    // A per-user value left from a time without the right would start a
    // second copy at logon.
    runKey.DeleteValue(RunKeyHive::CurrentUser, kRunValueName);
    return;
  }
  runKey.SetValue(RunKeyHive::CurrentUser, kRunValueName, data);
}

void RemoveOwnAutostart(RunKey& runKey, const std::wstring& data) {
  for (const RunKeyHive hive : {RunKeyHive::LocalMachine, RunKeyHive::CurrentUser})
    if (runKey.ReadValue(hive, kRunValueName) == data) runKey.DeleteValue(hive, kRunValueName);
}

}  // namespace 开机运行
