#include "registry.h"

#include <vector>

#include "win32/unique_handle.h"

namespace e2e {
namespace {

UniqueKey OpenKey(HKEY root, const std::wstring& key, REGSAM access) {
  UniqueKey opened;
  RegOpenKeyExW(root, key.c_str(), 0, access, opened.Put());
  return opened;
}

}  // namespace

std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& key,
                                          const std::wstring& valueName) {
  UniqueKey k = OpenKey(root, key, KEY_QUERY_VALUE);
  if (!k) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(k.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(k.Get(), valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The stored data need not end with a NUL, or may carry more than one.
  std::wstring text(buffer.data(), size / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& valueName) {
  UniqueKey k = OpenKey(root, key, KEY_SET_VALUE);
  if (!k) return true;  // no key, no value
  const LONG rc = RegDeleteValueW(k.Get(), valueName.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace e2e
