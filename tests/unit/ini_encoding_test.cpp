#include "settings/ini_encoding.h"

#include <gtest/gtest.h>

namespace {

using 定义::IniEncoding;

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

struct Detection {
  const char* bytes;
  IniEncoding encoding;
};

class DetectIniEncoding : public testing::TestWithParam<Detection> {};

TEST_P(DetectIniEncoding, Table) {
  EXPECT_EQ(定义::DetectIniEncoding(GetParam().bytes), GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DetectIniEncoding,
    testing::Values(Detection{"[a]\r\nb=1\r\n", IniEncoding::Ansi},
                    // GBK "[网络配置]" and "服务器路径=": never valid UTF-8.
                    Detection{"[\xCD\xF8\xC2\xE7\xC5\xE4\xD6\xC3]", IniEncoding::Ansi},
                    Detection{"\xB7\xFE\xCE\xF1\xC6\xF7\xC2\xB7\xBE\xB6=1", IniEncoding::Ansi},
                    // UTF-8 "[网络配置]", with and without a BOM.
                    Detection{"[\xE7\xBD\x91\xE7\xBB\x9C\xE9\x85\x8D\xE7\xBD\xAE]",
                              IniEncoding::Utf8},
                    Detection{"\xEF\xBB\xBF[\xE7\xBD\x91]", IniEncoding::Utf8WithBom},
                    Detection{"\xEF\xBB\xBF[a]", IniEncoding::Utf8WithBom},
                    // A cut sequence, an overlong form and a surrogate are not UTF-8.
                    Detection{"a=\xE7\xBD", IniEncoding::Ansi},
                    Detection{"a=\xC0\xAF", IniEncoding::Ansi},
                    Detection{"a=\xED\xA0\x80", IniEncoding::Ansi},
                    // A BOM before bytes that are not UTF-8 is not trusted.
                    Detection{"\xEF\xBB\xBF\xCD\xF8", IniEncoding::Ansi},
                    Detection{"\xFF\xFE[\0a\0]\0", IniEncoding::Utf16LeWithBom},
                    Detection{"\xFE\xFF\0[\0a\0]", IniEncoding::Utf16BeWithBom}));

TEST(DecodeIniBytes, EachEncodingGivesTheSameText) {
  const Latin1CodePage latin1;
  const std::wstring expected = L"[网络配置]\r\nk=\U0001F600\r\n";
  const std::string utf8 =
      "[\xE7\xBD\x91\xE7\xBB\x9C\xE9\x85\x8D\xE7\xBD\xAE]\r\nk=\xF0\x9F\x98\x80\r\n";
  const std::string utf16le(
      "\xFF\xFE[\0\x51\x7F\xdc\x7e\x4d\x91\x6e\x7f]\0\r\0\n\0k\0=\0\x3D\xD8\x00\xDE\r\0\n\0", 30);
  EXPECT_EQ(定义::DecodeIniBytes(utf8, latin1), expected);
  EXPECT_EQ(定义::DecodeIniBytes("\xEF\xBB\xBF" + utf8, latin1), expected);
  EXPECT_EQ(定义::DecodeIniBytes(utf16le, latin1), expected);
  EXPECT_EQ(定义::DecodeIniBytes("a=\xE9", latin1), L"a=\u00E9");
}

TEST(HoldsNulCharacter, LooksAtCharactersNotBytes) {
  const Latin1CodePage latin1;
  EXPECT_TRUE(定义::HoldsNulCharacter(std::string("\0[a]\r\n", 6), latin1));
  EXPECT_FALSE(定义::HoldsNulCharacter("[a]\r\n", latin1));
  // "a" in UTF-16 holds a zero byte, not a NUL character.
  EXPECT_FALSE(定义::HoldsNulCharacter(std::string("\xFF\xFE\x61\0", 4), latin1));
  EXPECT_TRUE(定义::HoldsNulCharacter(std::string("\xFF\xFE\x61\0\0\0", 6), latin1));
}

TEST(ConvertForProfileWrites, LeavesWhatTheProfileFunctionsWriteFaithfully) {
  const Latin1CodePage latin1;
  EXPECT_EQ(定义::ConvertForProfileWrites("a=\xE9\r\n", latin1), std::nullopt);
  EXPECT_EQ(定义::ConvertForProfileWrites(std::string("\xFF\xFE"
                                                      "a\0",
                                                      4),
                                          latin1),
            std::nullopt);
}

TEST(ConvertForProfileWrites, UnicodeBecomesAnsiWhereEveryCharacterFits) {
  const Latin1CodePage latin1;
  EXPECT_EQ(定义::ConvertForProfileWrites("; \xC3\xA9t\xC3\xA9\r\na=1\r\n", latin1),
            "; \xE9t\xE9\r\na=1\r\n");
  EXPECT_EQ(定义::ConvertForProfileWrites("\xEF\xBB\xBF; x\r\na=1\r\n", latin1), "; x\r\na=1\r\n");
  EXPECT_EQ(定义::ConvertForProfileWrites(std::string("\xFE\xFF\0a", 4), latin1), "a");
}

TEST(ConvertForProfileWrites, OtherwiseUtf16LeWithABomKeepsEveryCharacter) {
  const Latin1CodePage latin1;
  EXPECT_EQ(定义::ConvertForProfileWrites("\xC3\xA9\r\n\xE7\xBD\x91\xF0\x9F\x98\x80", latin1),
            std::string("\xFF\xFE\xE9\0\r\0\n\0\x51\x7F\x3D\xD8\x00\xDE", 14));
}

}  // namespace

struct Written {
  const char* name;
  std::string bytes;
};

void PrintTo(const Written& file, std::ostream* out) { *out << file.name; }

class WritingKeepsTheText : public testing::TestWithParam<Written> {};

TEST_P(WritingKeepsTheText, Table) {
  const Latin1CodePage latin1;
  const std::string& bytes = GetParam().bytes;
  const std::string written = 定义::ConvertForProfileWrites(bytes, latin1).value_or(bytes);
  EXPECT_EQ(定义::DecodeIniBytes(written, latin1), 定义::DecodeIniBytes(bytes, latin1));
}

INSTANTIATE_TEST_SUITE_P(
    Table, WritingKeepsTheText,
    testing::Values(Written{"Utf8", "; \xC3\xA9t\xC3\xA9\r\n"},
                    // "Ã©" fits the code page as C3 A9, which is UTF-8 for "é".
                    Written{"Utf16BeWhoseAnsiFormIsUtf8", std::string("\xFE\xFF\0\xC3\0\xA9", 6)}),
    [](const testing::TestParamInfo<Written>& info) { return info.param.name; });
