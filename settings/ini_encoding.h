#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace 定义 {

enum class IniEncoding { Ansi, Utf8, Utf8WithBom, Utf16LeWithBom, Utf16BeWithBom };

// Notepad saves UTF-8, with or without a BOM. Chinese text in GBK is almost
// never valid UTF-8, so bytes that are valid UTF-8 and hold a multi-byte
// sequence are taken for UTF-8; plain ASCII reads the same either way.
IniEncoding DetectIniEncoding(std::string_view bytes);

// The system's ANSI code page: GBK on a Chinese Windows.
class AnsiCodePage {
 public:
  virtual std::wstring Decode(std::string_view bytes) const = 0;
  // Empty when some character has no exact form in the code page.
  virtual std::optional<std::string> EncodeExactly(std::wstring_view text) const = 0;

 protected:
  ~AnsiCodePage() = default;
};

std::wstring DecodeIniBytes(std::string_view bytes, const AnsiCodePage& ansi);

// The profile functions end a line at a NUL character: they drop the rest of
// it, and a section header that follows one, when they rewrite the file. A
// file that holds one is therefore never written through them.
bool HoldsNulCharacter(std::string_view bytes, const AnsiCodePage& ansi);

// The profile functions write faithfully only into an ANSI file and a UTF-16
// LE file with a BOM; into any other form they write lines the reader cannot
// read. Such a file is converted once, whole and line for line: to ANSI where
// every character fits, otherwise to UTF-16 LE with a BOM, which holds them
// all. Empty when the bytes need no conversion.
std::optional<std::string> ConvertForProfileWrites(std::string_view bytes,
                                                   const AnsiCodePage& ansi);

}  // namespace 定义
