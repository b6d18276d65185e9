#pragma once
// UTF-8 <-> UTF-16. The fake net.exe log and gtest messages are UTF-8, every
// Win32 call is UTF-16.

#include <string>
#include <string_view>

namespace e2e {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Win32 class names compare without regard to case ("Button" is "BUTTON").
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace e2e
