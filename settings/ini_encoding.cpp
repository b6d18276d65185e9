#include "settings/ini_encoding.h"

#include <cstdint>

#include "settings/ini_lines.h"

namespace 定义 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// wchar_t holds UTF-16 on Windows and UTF-32 elsewhere.
void AppendCodePoint(std::wstring& text, char32_t codePoint) {
  if (sizeof(wchar_t) == 2 && codePoint > 0xFFFF) {
    codePoint -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
    text += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
  } else {
    text += static_cast<wchar_t>(codePoint);
  }
}

// Empty when the bytes are not well-formed UTF-8 (overlong forms, surrogates
// and values beyond U+10FFFF included).
std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
  std::wstring text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
      length = 1, codePoint = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > bytes.size()) return std::nullopt;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
      return std::nullopt;
    AppendCodePoint(text, codePoint);
    i += static_cast<std::size_t>(length);
  }
  return text;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring text;
  char32_t highSurrogate = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    const char32_t unit = bigEndian ? (first << 8) | second : (second << 8) | first;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate) {
      AppendCodePoint(text, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate = 0;
    } else {
      AppendCodePoint(text, unit);
      highSurrogate = 0;
    }
  }
  return text;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian) {
  std::string bytes;
  const auto append = [&bytes, bigEndian](char32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  for (const wchar_t c : text) {
    const auto codePoint = static_cast<char32_t>(c);
    if (codePoint > 0xFFFF) {
      append(0xD800 + ((codePoint - 0x10000) >> 10));
      append(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      append(codePoint);
    }
  }
  return bytes;
}

// A lone surrogate comes out in the three bytes no reader takes for UTF-8.
std::string EncodeUtf8(std::wstring_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto codePoint = static_cast<char32_t>(text[i]);
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (codePoint < 0x80) {
      bytes += static_cast<char>(codePoint);
      continue;
    }
    constexpr unsigned kLeadBits[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
    bytes += static_cast<char>(kLeadBits[tail] | (codePoint >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k)
      bytes += static_cast<char>(0x80 | ((codePoint >> (6 * k)) & 0x3F));
  }
  return bytes;
}

bool HasMultiByteSequence(std::string_view bytes) {
  for (const char byte : bytes)
    if (static_cast<unsigned char>(byte) >= 0x80) return true;
  return false;
}

}  // namespace

IniEncoding DetectIniEncoding(std::string_view bytes) {
  // A BOM before bytes that are not UTF-8 is not trusted: nothing is dropped.
  if (StartsWith(bytes, kUtf8Bom) && DecodeUtf8(bytes.substr(kUtf8Bom.size())))
    return IniEncoding::Utf8WithBom;
  if (StartsWith(bytes, kUtf16LeBom)) return IniEncoding::Utf16LeWithBom;
  if (StartsWith(bytes, kUtf16BeBom)) return IniEncoding::Utf16BeWithBom;
  if (HasMultiByteSequence(bytes) && DecodeUtf8(bytes)) return IniEncoding::Utf8;
  return IniEncoding::Ansi;
}

std::wstring DecodeIniBytes(std::string_view bytes, const AnsiCodePage& ansi) {
  const IniEncoding encoding = DetectIniEncoding(bytes);
  std::wstring text;
  for (const StoredLine& line : SplitStoredLines(bytes.substr(BomOf(encoding).size()), encoding))
    text += DecodeAs(line.content, encoding, ansi) + DecodeAs(line.end, encoding, ansi);
  return text;
}

bool HoldsNulCharacter(std::string_view bytes, const AnsiCodePage& ansi) {
  return DecodeIniBytes(bytes, ansi).find(L'\0') != std::wstring::npos;
}

std::string_view BomOf(IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::Utf8WithBom: return kUtf8Bom;
    case IniEncoding::Utf16LeWithBom: return kUtf16LeBom;
    case IniEncoding::Utf16BeWithBom: return kUtf16BeBom;
    case IniEncoding::Ansi:
    case IniEncoding::Utf8: break;
  }
  return {};
}

std::size_t CodeUnitBytes(IniEncoding encoding) {
  const bool utf16 =
      encoding == IniEncoding::Utf16LeWithBom || encoding == IniEncoding::Utf16BeWithBom;
  return utf16 ? 2 : 1;
}

std::wstring DecodeAs(std::string_view bytes, IniEncoding encoding, const AnsiCodePage& ansi) {
  switch (encoding) {
    case IniEncoding::Ansi: break;
    case IniEncoding::Utf8:
    case IniEncoding::Utf8WithBom:
      if (auto text = DecodeUtf8(bytes)) return *text;
      break;
    case IniEncoding::Utf16LeWithBom: return DecodeUtf16(bytes, false);
    case IniEncoding::Utf16BeWithBom: return DecodeUtf16(bytes, true);
  }
  return ansi.Decode(bytes);
}

std::optional<std::string> EncodeAs(std::wstring_view text, IniEncoding encoding,
                                    const AnsiCodePage& ansi) {
  switch (encoding) {
    case IniEncoding::Ansi: break;
    case IniEncoding::Utf8:
    case IniEncoding::Utf8WithBom: return EncodeUtf8(text);
    case IniEncoding::Utf16LeWithBom: return EncodeUtf16(text, false);
    case IniEncoding::Utf16BeWithBom: return EncodeUtf16(text, true);
  }
  return ansi.EncodeExactly(text);
}

}  // namespace 定义
