// Whatever a hand-edited settings file holds and whatever is set, a save
// changes the lines of the changed keys and nothing else.

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>

#include "double_byte_code_page.h"
#include "settings/ini_edit.h"
#include "settings/ini_encoding.h"
#include "settings/ini_lines.h"
#include "settings/profile_text.h"

// How RapidCheck shows a case that fails: each character outside printable
// ASCII by its number.
namespace 定义 {

void showValue(IniEncoding encoding, std::ostream& out) { out << static_cast<int>(encoding); }

void showValue(const IniChange& change, std::ostream& out) {
  for (const std::wstring* text : {&change.section, &change.key, &change.value}) {
    for (const wchar_t c : *text) {
      if (c >= 0x20 && c < 0x7F)
        out << static_cast<char>(c);
      else
        out << "\\u" << std::hex << static_cast<unsigned long>(c) << std::dec << ' ';
    }
    out << '|';
  }
}

}  // namespace 定义

namespace {

using 定义::IniChange;
using 定义::IniEncoding;

const DoubleByteCodePage kAnsi;

// Few names, so that the files and the changes meet often, in either case.
const std::vector<std::wstring> kSections = {L"n", L"N", L"s"};
const std::vector<std::wstring> kChangedKeys = {L"a", L"A", L"b"};
const std::vector<std::wstring> kFileKeys = {L"a", L"b", L"c"};

// The code page's own characters, one of them spelt in it as UTF-8 spells
// "é", and characters beyond it.
std::vector<wchar_t> Characters() {
  return {L'1',  L'.', L'x',      L' ',
          L'\t', L'"', L'=',      L';',
          L'[',  L']', L'\u7F51', kAnsi.Decode("\xC3\xA9").front(),
          L'\'', L'#', L'\u00E9', static_cast<wchar_t>(0x1F600)};
}

rc::Gen<std::wstring> Text(std::vector<wchar_t> characters) {
  return rc::gen::container<std::wstring>(rc::gen::elementOf(std::move(characters)));
}

std::string Encoded(const std::wstring& text, IniEncoding encoding) {
  // Only the ANSI code page lacks characters; such a line is left empty.
  return 定义::EncodeAs(text, encoding, kAnsi).value_or(std::string());
}

// Headers closed and not, entries with and without "=", comments, blank
// lines and anything at all.
rc::Gen<std::wstring> LineText() {
  const auto header = [](const std::wstring& open, const std::wstring& close) {
    return rc::gen::map(rc::gen::elementOf(kSections),
                        [open, close](const std::wstring& name) { return open + name + close; });
  };
  return rc::gen::oneOf(
      header(L"[", L"]"), header(L" [ ", L" ] ; x"), header(L"[", L""),
      rc::gen::apply([](const std::wstring& key, const std::wstring& equals,
                        const std::wstring& value) { return key + equals + value; },
                     rc::gen::elementOf(kFileKeys),
                     rc::gen::element<std::wstring>(L"=", L" =  ", L"", L"=\t"),
                     Text(Characters())),
      rc::gen::map(Text(Characters()), [](const std::wstring& note) { return L";" + note; }),
      rc::gen::just(std::wstring()), Text(Characters()));
}

// ANSI lines may hold any bytes but NUL (a file with one is never edited):
// lead bytes with no trail, FF FE, CR and LF of their own.
rc::Gen<std::string> LineBytes(IniEncoding encoding) {
  const auto encoded = rc::gen::map(
      LineText(), [encoding](const std::wstring& text) { return Encoded(text, encoding); });
  if (encoding != IniEncoding::Ansi) return encoded;
  const auto anyByte =
      rc::gen::map(rc::gen::inRange(1, 256), [](int byte) { return static_cast<char>(byte); });
  return rc::gen::oneOf(encoded, rc::gen::container<std::string>(anyByte));
}

rc::Gen<std::string> FileBytes(IniEncoding encoding) {
  const auto line = rc::gen::apply(
      [encoding](const std::string& content, const std::wstring& end) {
        return content + Encoded(end, encoding);
      },
      LineBytes(encoding), rc::gen::element<std::wstring>(L"\r\n", L"\n", L"\r"));
  return rc::gen::apply(
      [encoding](const std::vector<std::string>& lines, const std::string& unended) {
        std::string bytes(定义::BomOf(encoding));
        for (const std::string& l : lines) bytes += l;
        return bytes + unended;
      },
      rc::gen::container<std::vector<std::string>>(line), LineBytes(encoding));
}

rc::Gen<IniChange> Change() {
  std::vector<wchar_t> characters = Characters();
  characters.insert(characters.end(), {L'\r', L'\n', L'\0'});
  return rc::gen::apply(
      [](const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        return IniChange{section, key, value};
      },
      rc::gen::elementOf(kSections), rc::gen::elementOf(kChangedKeys), Text(characters));
}

// A value is written up to its first line break or NUL.
std::wstring AsWritten(const std::wstring& value) {
  return value.substr(0, value.find_first_of(std::wstring(L"\r\n\0", 3)));
}

// What the reader makes of it: without the blanks around it and a pair of
// quotation marks.
std::wstring AsRead(const std::wstring& value) {
  const std::wstring line = L"k=" + AsWritten(value);
  return std::wstring(定义::ReadProfileLine(line).value);
}

const IniChange& LastChangeOf(const std::vector<IniChange>& changes, const IniChange& change) {
  const IniChange* last = &change;
  for (const IniChange& later : changes)
    if (定义::SameProfileName(later.section, change.section) &&
        定义::SameProfileName(later.key, change.key))
      last = &later;
  return *last;
}

struct Line {
  std::string content, end;
  std::wstring text, endText;
};

std::vector<Line> LinesOf(std::string_view bytes) {
  const IniEncoding encoding = 定义::DetectIniEncoding(bytes);
  std::vector<Line> lines;
  for (const 定义::StoredLine& line :
       定义::SplitStoredLines(bytes.substr(定义::BomOf(encoding).size()), encoding))
    lines.push_back({std::string(line.content), std::string(line.end),
                     定义::DecodeAs(line.content, encoding, kAnsi),
                     定义::DecodeAs(line.end, encoding, kAnsi)});
  return lines;
}

bool NamesAny(const std::vector<std::wstring>& names, std::wstring_view name) {
  for (const std::wstring& each : names)
    if (定义::SameProfileName(each, name)) return true;
  return false;
}

// A line a save may write: a changed key's entry, or a changed section's header.
bool IsWritten(const Line& line, const std::vector<IniChange>& changes) {
  std::vector<std::wstring> sections, keys;
  for (const IniChange& change : changes) {
    sections.push_back(change.section);
    keys.push_back(change.key);
  }
  const 定义::ProfileLine read = 定义::ReadProfileLine(line.text);
  return (read.kind == 定义::ProfileLineKind::Entry && NamesAny(keys, read.name)) ||
         (read.kind == 定义::ProfileLineKind::Section && NamesAny(sections, read.name));
}

// The same line, in bytes while the encoding is kept; a last line may gain
// an end.
bool IsKept(const Line& before, const Line& after, bool sameEncoding) {
  const bool endKept = before.end.empty() ||
                       (sameEncoding ? before.end == after.end : before.endText == after.endText);
  return endKept && (sameEncoding ? before.content == after.content : before.text == after.text);
}

bool IsUtf8(const std::string& bytes) {
  // With a multi-byte sequence after it and no BOM before it, detected as
  // UTF-8 exactly when it is.
  return 定义::DetectIniEncoding("a" + bytes + "\xC3\xA9") == IniEncoding::Utf8;
}

// Any file in any encoding with any other lines, any changes: the changed
// keys read back as set, every other line byte for byte, the encoding kept
// unless a changed value cannot be spelt in it, a second write identical.
RC_GTEST_PROP(EditIniBytes, ChangesOnlyTheChangedKeysLines, ()) {
  const auto encoding =
      *rc::gen::element(IniEncoding::Ansi, IniEncoding::Utf8, IniEncoding::Utf8WithBom,
                        IniEncoding::Utf16LeWithBom, IniEncoding::Utf16BeWithBom);
  const std::string before = *FileBytes(encoding);
  const auto changes = *rc::gen::resize(8, rc::gen::container<std::vector<IniChange>>(Change()));
  const std::string after = 定义::EditIniBytes(before, changes, kAnsi);

  const std::wstring text = 定义::DecodeIniBytes(after, kAnsi);
  for (const IniChange& change : changes)
    RC_ASSERT(定义::ProfileValue(text, change.section, change.key) ==
              AsRead(LastChangeOf(changes, change).value));
  RC_ASSERT(定义::EditIniBytes(after, changes, kAnsi) == after);

  // The encoding changes only where a value cannot be spelt in it, or where
  // the ANSI file would then read as UTF-8.
  const IniEncoding stored = 定义::DetectIniEncoding(before);
  const bool converted = stored != IniEncoding::Utf16LeWithBom &&
                         定义::DetectIniEncoding(after) == IniEncoding::Utf16LeWithBom;
  bool spelt = true;
  for (const IniChange& change : changes)
    spelt = spelt && 定义::EncodeAs(AsWritten(change.value), stored, kAnsi).has_value();
  // A UTF-8 file whose only other characters were in a changed value is
  // plain ASCII now, which reads the same as UTF-8 and as ANSI.
  const bool plainAscii = std::none_of(
      after.begin(), after.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!converted && !(plainAscii && stored == IniEncoding::Utf8))
    RC_ASSERT(定义::DetectIniEncoding(after) == stored);

  // Every other line stays, in its place; between them only written lines:
  // the changed keys' entries and at most a header and an entry per change.
  const std::vector<Line> afterLines = LinesOf(after);
  std::size_t at = 0, written = 0, entries = 0;
  std::string otherBytes;
  const auto skipWritten = [&](auto isTarget) {
    for (; at < afterLines.size() && !isTarget(afterLines[at]); ++at, ++written)
      RC_ASSERT(IsWritten(afterLines[at], changes));
  };
  for (const Line& line : LinesOf(before)) {
    if (IsWritten(line, changes) &&
        定义::ReadProfileLine(line.text).kind == 定义::ProfileLineKind::Entry) {
      ++entries;
      continue;
    }
    otherBytes += line.content + line.end;
    skipWritten([&](const Line& candidate) { return IsKept(line, candidate, !converted); });
    RC_ASSERT(at < afterLines.size());
    ++at;
  }
  skipWritten([](const Line&) { return false; });
  RC_ASSERT(written <= entries + 2 * changes.size());
  if (converted) RC_ASSERT(stored == IniEncoding::Ansi && (!spelt || IsUtf8(otherBytes)));
}

}  // namespace
