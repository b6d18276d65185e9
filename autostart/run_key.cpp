#include "autostart/run_key.h"

namespace 开机运行 {

std::wstring RunValueData(const ExeLocation& exe) {
  const std::wstring path = exe.directory + L"\\" + exe.baseName + L".exe";
  if (path.find(L' ') == std::wstring::npos) return path;
  return L"\"" + path + L"\"";
}

bool SetAutostart(bool enable, RunKey& runKey, const std::wstring& data) {
  if (!enable) {
    const bool machineGone = runKey.DeleteValue(RunKeyHive::LocalMachine, kRunValueName);
    return runKey.DeleteValue(RunKeyHive::CurrentUser, kRunValueName) && machineGone;
  }
  if (runKey.SetValue(RunKeyHive::LocalMachine, kRunValueName, data)) {
    // A per-user value left from a time without the right would start a
    // second copy at logon.
    runKey.DeleteValue(RunKeyHive::CurrentUser, kRunValueName);
    return true;
  }
  return runKey.SetValue(RunKeyHive::CurrentUser, kRunValueName, data);
}

bool RemoveOwnAutostart(RunKey& runKey, const std::wstring& data) {
  bool removed = true;
  for (const RunKeyHive hive : {RunKeyHive::LocalMachine, RunKeyHive::CurrentUser})
    if (runKey.ReadValue(hive, kRunValueName) == data)
      removed = runKey.DeleteValue(hive, kRunValueName) && removed;
  return removed;
}

bool RemoveAutostart(RunKey& runKey, const std::wstring& data, WhoseRunValues whose) {
  return whose == WhoseRunValues::EveryCopys ? SetAutostart(false, runKey, data)
                                             : RemoveOwnAutostart(runKey, data);
}

}  // namespace 开机运行
