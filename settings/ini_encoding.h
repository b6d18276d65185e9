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

// Each line on its own (see SplitStoredLines), so that bytes that are no
// character never take a line end with them.
std::wstring DecodeIniBytes(std::string_view bytes, const AnsiCodePage& ansi);

// The system's profile functions end a line at a NUL character, so whatever
// follows one on its line, or a section header after it, means something else
// to every other program that reads the file. A file that holds one is never
// rewritten.
bool HoldsNulCharacter(std::string_view bytes, const AnsiCodePage& ansi);

// The BOM the form starts with; empty for ANSI and UTF-8 without one.
std::string_view BomOf(IniEncoding encoding);
// 2 for UTF-16, 1 for the others: the bytes of CR or LF.
std::size_t CodeUnitBytes(IniEncoding encoding);

// Bytes in the given form, after any BOM.
std::wstring DecodeAs(std::string_view bytes, IniEncoding encoding, const AnsiCodePage& ansi);
// Without the BOM. Empty when some character has no exact form there, which
// only the ANSI code page lacks.
std::optional<std::string> EncodeAs(std::wstring_view text, IniEncoding encoding,
                                    const AnsiCodePage& ansi);

}  // namespace 定义
