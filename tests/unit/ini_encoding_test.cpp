#include "settings/ini_encoding.h"

#include <gtest/gtest.h>

#include "double_byte_code_page.h"
#include "latin1_code_page.h"

namespace {

using 定义::IniEncoding;

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

// A lead byte with no trail byte after it on its line takes no line end
// with it, so that every line reads as it does on its own.
TEST(DecodeIniBytes, ALineEndIsNeverPartOfACharacter) {
  const DoubleByteCodePage doubleByte;
  EXPECT_EQ(定义::DecodeIniBytes("; caf\xE9\n[n]\r\xE9\r\na=1", doubleByte),
            L"; caf?\n[n]\r?\r\na=1");
}

TEST(HoldsNulCharacter, LooksAtCharactersNotBytes) {
  const Latin1CodePage latin1;
  EXPECT_TRUE(定义::HoldsNulCharacter(std::string("\0[a]\r\n", 6), latin1));
  EXPECT_FALSE(定义::HoldsNulCharacter("[a]\r\n", latin1));
  // "a" in UTF-16 holds a zero byte, not a NUL character.
  EXPECT_FALSE(定义::HoldsNulCharacter(std::string("\xFF\xFE\x61\0", 4), latin1));
  EXPECT_TRUE(定义::HoldsNulCharacter(std::string("\xFF\xFE\x61\0\0\0", 6), latin1));
}

TEST(EncodeAs, GivesBackTheBytesDecodeAsReads) {
  const Latin1CodePage latin1;
  const std::wstring text = L"k=\u00E9\u7F51\U0001F600\r\n";
  for (const auto encoding : {IniEncoding::Utf8, IniEncoding::Utf8WithBom,
                              IniEncoding::Utf16LeWithBom, IniEncoding::Utf16BeWithBom}) {
    const auto bytes = 定义::EncodeAs(text, encoding, latin1);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(定义::DecodeAs(*bytes, encoding, latin1), text) << static_cast<int>(encoding);
  }
  EXPECT_EQ(定义::EncodeAs(L"\u00E9", IniEncoding::Utf8, latin1), "\xC3\xA9");
  EXPECT_EQ(定义::EncodeAs(L"\u7F51", IniEncoding::Utf16BeWithBom, latin1), "\x7F\x51");
  EXPECT_EQ(定义::EncodeAs(L"a\u00E9", IniEncoding::Ansi, latin1), "a\xE9");
  EXPECT_EQ(定义::EncodeAs(L"\u7F51", IniEncoding::Ansi, latin1), std::nullopt);
}

}  // namespace
