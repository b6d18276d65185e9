#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A text as a failed property prints it: UTF-8, control characters and
// surrogates as \uXXXX, so that every character can be read back exactly.
inline std::string ShownText(std::wstring_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown = "\"";
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code < 0x20 || code == '"' || code == '\\' || (code >= 0xD800 && code < 0xE000)) {
      shown += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) shown += kHex[(code >> shift) & 0xF];
    } else if (code < 0x80) {
      shown += static_cast<char>(code);
    } else if (code < 0x800) {
      shown += static_cast<char>(0xC0 | code >> 6);
      shown += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      shown += static_cast<char>(0xE0 | code >> 12);
      shown += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      shown += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      shown += static_cast<char>(0xF0 | code >> 18);
      shown += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      shown += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      shown += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return shown + "\"";
}
