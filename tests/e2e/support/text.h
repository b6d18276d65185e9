#pragma once
// Text as Win32 compares it. For conversions, the program's own
// win32/text_encoding.h serves the tests too.

#include <string_view>

#include "win32/text_encoding.h"

namespace e2e {

// Win32 class names compare without regard to case ("Button" is "BUTTON").
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace e2e
