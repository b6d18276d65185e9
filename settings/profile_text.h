#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace 定义 {

enum class ProfileLineKind { Blank, Comment, Section, Entry };

// One line of a profile file as the system's profile functions read it: the
// name of a section header, or of an entry (the key before its "="; a line
// without one is a key with an empty value) with its value, blanks (and NULs)
// around names and values dropped, a value in matching quotation marks taken
// without them. A line that begins with "[" but has no "]" is no header.
struct ProfileLine {
  ProfileLineKind kind = ProfileLineKind::Blank;
  std::wstring_view name;
  std::wstring_view value;
};

ProfileLine ReadProfileLine(std::wstring_view line);

// Section and key names compare without regard to letter case.
bool SameProfileName(std::wstring_view a, std::wstring_view b);

// The value of a key in the text of a profile file: the first entry of that
// name in the first section of that name, as the system's profile functions
// read it; later sections of the name are not searched. Empty when the
// section or the key is missing.
std::wstring ProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);
// The same, or nothing when the section or the key is missing.
std::optional<std::wstring> FindProfileValue(std::wstring_view text, std::wstring_view section,
                                             std::wstring_view key);

// A stored integer: an optional sign and the decimal digits that follow; 0
// when there are none. Values beyond 32 bits stay beyond every control's range.
std::int32_t ProfileInt(std::wstring_view value);

}  // namespace 定义
