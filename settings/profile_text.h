#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace 定义 {

// The value of a key in the text of a profile file, read the way the
// system's profile functions read it: section and key names without regard to
// letter case, blanks (and NULs) around names and values dropped, a value in
// matching quotation marks taken without them, the first occurrence winning.
// Empty when the section or the key is missing.
std::wstring ProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);

// A stored integer: an optional sign and the decimal digits that follow; 0
// when there are none. Values beyond 32 bits stay beyond every control's range.
std::int32_t ProfileInt(std::wstring_view value);

}  // namespace 定义
