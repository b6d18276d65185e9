#pragma once
// The registry as the product leaves it (autostart entries and the like).

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// A REG_SZ value; unset when the key or value is missing or of another type.
std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& key,
                                          const std::wstring& valueName);
// True when the value is gone afterwards, whether it was there or not.
bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& valueName);

}  // namespace e2e
