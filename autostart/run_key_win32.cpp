#include "autostart/run_key_win32.h"

#include "win32/unique_handle.h"

namespace {

constexpr wchar_t kRunSubKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

std::optional<std::wstring> RegistryRunKey::ReadValue(开机运行::RunKeyHive hive,
                                                      const std::wstring& name) {
  DWORD bytes = 0;
  if (RegGetValueW(Root(hive), kRunSubKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::wstring data(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(Root(hive), kRunSubKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data.data(),
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(bytes / sizeof(wchar_t));
  // The size counts the terminating NUL.
  if (!data.empty() && data.back() == L'\0') data.pop_back();
  return data;
}

bool RegistryRunKey::SetValue(开机运行::RunKeyHive hive, const std::wstring& name,
                              const std::wstring& data) {
  UniqueKey key;
  if (RegCreateKeyExW(Root(hive), kRunSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

// A value that is not there is already what removal wants, also where the
// key may not be changed.
bool RegistryRunKey::DeleteValue(开机运行::RunKeyHive hive, const std::wstring& name) {
  if (!ReadValue(hive, name)) return true;
  UniqueKey key;
  if (RegOpenKeyExW(Root(hive), kRunSubKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
    return false;
  const LONG deleted = RegDeleteValueW(key.Get(), name.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
