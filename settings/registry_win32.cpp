#include "settings/registry_win32.h"

#include "ui/unique_handle.h"

namespace {

constexpr wchar_t kRunSubKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

HKEY Root(开机运行::RunKeyHive hive) {
  return hive == 开机运行::RunKeyHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

bool RegistryRunKey::SetValue(开机运行::RunKeyHive hive, const std::wstring& name,
                              const std::wstring& data) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(Root(hive), kRunSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const UniqueKey key(opened);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

void RegistryRunKey::DeleteValue(开机运行::RunKeyHive hive, const std::wstring& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(Root(hive), kRunSubKey, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  const UniqueKey key(opened);
  // A value that is not there is already what removal wants.
  RegDeleteValueW(key.Get(), name.c_str());
}
