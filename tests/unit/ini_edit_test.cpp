#include "settings/ini_edit.h"

#include <gtest/gtest.h>

#include "double_byte_code_page.h"
#include "latin1_code_page.h"
#include "settings/ini_encoding.h"

namespace {

using 定义::IniChange;

const Latin1CodePage kLatin1;
const DoubleByteCodePage kDoubleByte;

// ASCII text in UTF-16, after a BOM.
std::string Utf16(std::string_view ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

struct Edit {
  const char* name;
  std::string before;
  std::vector<IniChange> changes;
  std::string after;
  const 定义::AnsiCodePage* ansi = &kLatin1;
};

void PrintTo(const Edit& edit, std::ostream* out) { *out << edit.name; }

class EditIniBytes : public testing::TestWithParam<Edit> {};

TEST_P(EditIniBytes, Table) {
  EXPECT_EQ(定义::EditIniBytes(GetParam().before, GetParam().changes, *GetParam().ansi),
            GetParam().after);
}

const std::vector<IniChange> kFirstSave = {
    {L"n", L"a", L"1"}, {L"s", L"b", L"0"}, {L"s", L"c", L"30"}};

INSTANTIATE_TEST_SUITE_P(
    Table, EditIniBytes,
    testing::Values(
        Edit{"MissingFile", "", kFirstSave, "[n]\r\na=1\r\n[s]\r\nb=0\r\nc=30\r\n"},
        Edit{"MissingSectionAtTheEnd",
             "[n]\r\na=1\r\n",
             {{L"s", L"c", L"5"}},
             "[n]\r\na=1\r\n[s]\r\nc=5\r\n"},
        Edit{"MissingKeyAfterTheLastEntryOfItsSection",
             "[n]\r\na=1\r\n\r\n; about s\r\n[s]\r\nc=1\r\n",
             {{L"N", L"b", L"2"}},
             "[n]\r\na=1\r\nb=2\r\n\r\n; about s\r\n[s]\r\nc=1\r\n"},
        Edit{"MissingKeyAfterAnEmptySectionsHeader",
             "[n]\r\n[s]\r\n",
             {{L"n", L"a", L"1"}},
             "[n]\r\na=1\r\n[s]\r\n"},
        Edit{"ExistingKeyKeepsWhatStandsBeforeItsValue",
             "[n]\r\n  A =  \"old\"  \r\n",
             {{L"n", L"a", L"new"}},
             "[n]\r\n  A =  new\r\n"},
        Edit{"KeyWithoutEquals", "[n]\r\na\r\n", {{L"n", L"a", L"5"}}, "[n]\r\na=5\r\n"},
        // Where the reader finds the key: only the first section of its name
        // counts, and a "[" without its "]" starts none.
        Edit{"KeyInALaterSectionOfTheName",
             "[n]\r\nx=1\r\n[s]\r\n[n]\r\na=2\r\n",
             {{L"n", L"a", L"9"}},
             "[n]\r\nx=1\r\na=9\r\n[s]\r\n[n]\r\na=2\r\n"},
        Edit{"KeyAfterAnUnclosedHeader",
             "[n\r\na=1\r\n",
             {{L"n", L"a", L"2"}},
             "[n\r\na=1\r\n[n]\r\na=2\r\n"},
        Edit{"HandEditsKeptByteForByte",
             "; note \xE9\r\n[other]\r\na = b ; x\r\n  weird ===\r[n]\n\ta=1\t\r\n\r\n",
             {{L"n", L"a", L"2"}, {L"n", L"z", L"3"}},
             "; note \xE9\r\n[other]\r\na = b ; x\r\n  weird ===\r[n]\n\ta=2\r\nz=3\r\n\r\n"},
        Edit{"LfLineEnds",
             "[n]\na=1\n",
             {{L"n", L"b", L"2"}, {L"s", L"c", L"3"}},
             "[n]\na=1\nb=2\n[s]\nc=3\n"},
        Edit{"NoFinalLineEnd", "[n]\r\na=1", {{L"n", L"b", L"2"}}, "[n]\r\na=1\r\nb=2\r\n"},
        // A bare CR before the blank line's LF would read as one CR LF.
        Edit{"NewLinesNeverEndInABareCr",
             "[n]\ra=1\r\n\n[s]\r",
             {{L"n", L"b", L"2"}},
             "[n]\ra=1\r\nb=2\r\n\n[s]\r"},
        Edit{"ValueWithALeadingBlankWrittenAgain",
             "[n]\r\na= 10.0.0.2\r\n",
             {{L"n", L"a", L" 10.0.0.2"}},
             "[n]\r\na= 10.0.0.2\r\n"},
        // What follows a line break or a NUL would make lines of its own.
        Edit{"ValueEndsAtItsFirstLineBreak",
             "[n]\r\na=1\r\n",
             {{L"n", L"a", L"2\r\n[s]\r\nb=1"},
              {L"n", L"c", L"3\nx=4"},
              {L"n", L"d", std::wstring(L"5\0\r[s]", 7)}},
             "[n]\r\na=2\r\nc=3\r\nd=5\r\n"},
        Edit{"Utf8StaysUtf8",
             "; \xC3\xA9\r\n[n]\r\na=1\r\n",
             {{L"n", L"a", L"\u00E9"}},
             "; \xC3\xA9\r\n[n]\r\na=\xC3\xA9\r\n"},
        Edit{"Utf8WithBom",
             "\xEF\xBB\xBF[n]\r\na=1\r\n",
             {{L"n", L"a", L"\u7F51"}},
             "\xEF\xBB\xBF[n]\r\na=\xE7\xBD\x91\r\n"},
        Edit{"Utf16Le",
             Utf16("[n]\r\na=1\r\n", false),
             {{L"n", L"a", L"22"}},
             Utf16("[n]\r\na=22\r\n", false)},
        Edit{"Utf16Be", Utf16("[n]\r\na=1\r\n", true), kFirstSave,
             Utf16("[n]\r\na=1\r\n[s]\r\nb=0\r\nc=30\r\n", true)},
        // Beyond the code page: every character kept, in UTF-16.
        Edit{
            "AnsiBeyondItsCodePage",
            "; \xE9\r\n[n]\r\na=1\r\n",
            {{L"n", L"a", L"\u7F51"}},
            std::string("\xFF\xFE;\0 \0\xE9\0\r\0\n\0[\0n\0]\0\r\0\n\0a\0=\0\x51\x7F\r\0\n\0", 32)},
        // Bytes that are no character of the code page, in lines not changed.
        Edit{"AnsiWithInvalidBytesElsewhere",
             "; caf\xE9\r\n; \xFF\xFE end\r\n[n]\r\na=1\r\n",
             {{L"n", L"a", L"10.0.0.2"}},
             "; caf\xE9\r\n; \xFF\xFE end\r\n[n]\r\na=10.0.0.2\r\n",
             &kDoubleByte}),
    [](const testing::TestParamInfo<Edit>& info) { return info.param.name; });

struct Written {
  const char* name;
  std::string bytes;
  IniChange change;
  std::wstring text;  // as the saved file reads
};

void PrintTo(const Written& file, std::ostream* out) { *out << file.name; }

class WritingKeepsTheText : public testing::TestWithParam<Written> {};

TEST_P(WritingKeepsTheText, Table) {
  const std::string written = 定义::EditIniBytes(GetParam().bytes, {GetParam().change}, kLatin1);
  EXPECT_EQ(定义::DecodeIniBytes(written, kLatin1), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WritingKeepsTheText,
    testing::Values(Written{"Utf8",
                            "; \xC3\xA9t\xC3\xA9\r\n",
                            {L"n", L"a", L"1"},
                            L"; \u00E9t\u00E9\r\n[n]\r\na=1\r\n"},
                    // "Ã©" fits the code page as C3 A9, which is UTF-8 for "é".
                    Written{"Utf16BeWhoseAnsiFormIsUtf8",
                            std::string("\xFE\xFF\0\xC3\0\xA9", 6),
                            {L"n", L"a", L"1"},
                            L"\u00C3\u00A9\r\n[n]\r\na=1\r\n"},
                    Written{"AnsiWhoseNewValueIsUtf8",
                            "[n]\r\na=1\r\n",
                            {L"n", L"a", L"\u00C3\u00A9"},
                            L"[n]\r\na=\u00C3\u00A9\r\n"}),
    [](const testing::TestParamInfo<Written>& info) { return info.param.name; });

}  // namespace
