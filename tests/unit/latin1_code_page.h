#pragma once

#include "settings/ini_encoding.h"

// A code page that spells only the first 256 code points, one byte each:
// enough to tell what fits from what does not.
class Latin1CodePage final : public 定义::AnsiCodePage {
 public:
  std::wstring Decode(std::string_view bytes) const override {
    std::wstring text;
    for (const char byte : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return text;
  }
  std::optional<std::string> EncodeExactly(std::wstring_view text) const override {
    std::string bytes;
    for (const wchar_t c : text) {
      if (static_cast<unsigned long>(c) > 0xFF) return std::nullopt;
      bytes += static_cast<char>(c);
    }
    return bytes;
  }
};
