#include "settings/ini_edit.h"

#include <optional>

#include "settings/ini_lines.h"
#include "settings/profile_text.h"

namespace 定义 {
namespace {

// What the system's profile functions write, and so new lines too, unless
// the file's lines end in LF alone.
constexpr wchar_t kCrLf[] = L"\r\n";
constexpr wchar_t kLf[] = L"\n";
constexpr wchar_t kBlanks[] = L" \t";

struct Line {
  std::wstring text;  // without its end
  std::wstring end;   // empty only for a last line that has none
  // As the file holds it, end included; none once new or changed.
  std::optional<std::string> stored;
};

struct IniLines {
  IniEncoding encoding = IniEncoding::Ansi;
  std::vector<Line> lines;
};

// Each line is decoded on its own, only to be read.
IniLines ReadLines(std::string_view bytes, const AnsiCodePage& ansi) {
  IniLines file{DetectIniEncoding(bytes), {}};
  const std::string_view body = bytes.substr(BomOf(file.encoding).size());
  for (const StoredLine& line : SplitStoredLines(body, file.encoding))
    file.lines.push_back({DecodeAs(line.content, file.encoding, ansi),
                          DecodeAs(line.end, file.encoding, ansi),
                          std::string(line.content) + std::string(line.end)});
  return file;
}

// A bare CR is never written: placed before a blank line that ends in LF,
// the two would read as one CR LF, and the blank line would be gone.
std::wstring NewLineEnd(const std::vector<Line>& lines) {
  if (!lines.empty() && lines.front().end == kLf) return kLf;
  return kCrLf;
}

// Where the key's line is, or else where a new one goes: after the last
// entry of the first section of that name (after its header when it has
// none). As the system's profile functions do, ProfileValue reads only the
// first section of a name.
struct Place {
  std::size_t line = 0;
  bool found = false;
};

std::optional<Place> FindEntry(const std::vector<Line>& lines, const IniChange& change) {
  std::optional<Place> place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ProfileLine line = ReadProfileLine(lines[i].text);
    if (line.kind == ProfileLineKind::Section) {
      if (place) break;
      if (SameProfileName(line.name, change.section)) place = Place{i + 1};
    } else if (place && line.kind == ProfileLineKind::Entry) {
      if (SameProfileName(line.name, change.key)) return Place{i, true};
      place = Place{i + 1};
    }
  }
  return place;
}

// A value ends at its first line break or NUL, as a paste into a one-line
// box does: what follows would stand in lines of its own (a section, keys),
// or, after a NUL, be lost to the profile functions.
std::wstring OneLine(const std::wstring& value) {
  return value.substr(0, value.find_first_of(std::wstring_view(L"\r\n\0", 3)));
}

// What stands before the value stays: the key, "=" and the blanks after it,
// unless the value begins with blanks of its own; kept too, those would add
// up at every save.
void SetValue(Line& line, const std::wstring& value) {
  std::size_t valueAt = line.text.find(L'=');
  if (valueAt == std::wstring::npos) {
    line.text += L'=';
    valueAt = line.text.size();
  } else if (value.find_first_of(kBlanks) == 0) {
    ++valueAt;
  } else {
    valueAt = line.text.find_first_not_of(kBlanks, valueAt + 1);
  }
  line.text = line.text.substr(0, valueAt) + value;
  line.stored.reset();
}

// The last line gains an end before a line is added after it. An odd byte
// that ends UTF-16 is no character; kept, it would shift every one after it.
void EndLastLine(IniLines& file, const std::wstring& end, const AnsiCodePage& ansi) {
  Line& last = file.lines.back();
  last.end = end;
  if (!last.stored) return;
  last.stored->resize(last.stored->size() - last.stored->size() % CodeUnitBytes(file.encoding));
  // CR and LF are spelt in every code page.
  *last.stored += *EncodeAs(end, file.encoding, ansi);
}

void Insert(IniLines& file, std::size_t at, std::wstring text, const std::wstring& end,
            const AnsiCodePage& ansi) {
  if (at > 0 && file.lines[at - 1].end.empty()) EndLastLine(file, end, ansi);
  file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at),
                    Line{std::move(text), end, std::nullopt});
}

void Apply(IniLines& file, const IniChange& change, const std::wstring& end,
           const AnsiCodePage& ansi) {
  const std::wstring value = OneLine(change.value);
  const std::optional<Place> place = FindEntry(file.lines, change);
  if (place && place->found) return SetValue(file.lines[place->line], value);
  const std::wstring entry = change.key + L"=" + value;
  if (place) return Insert(file, place->line, entry, end, ansi);
  Insert(file, file.lines.size(), L"[" + change.section + L"]", end, ansi);
  Insert(file, file.lines.size(), entry, end, ansi);
}

// keepStored: the lines not changed are copied as the file holds them.
std::optional<std::string> Encode(const std::vector<Line>& lines, IniEncoding encoding,
                                  bool keepStored, const AnsiCodePage& ansi) {
  std::string bytes(BomOf(encoding));
  for (const Line& line : lines) {
    if (keepStored && line.stored) {
      bytes += *line.stored;
      continue;
    }
    const auto encoded = EncodeAs(line.text + line.end, encoding, ansi);
    if (!encoded) return std::nullopt;
    bytes += *encoded;
  }
  return bytes;
}

std::wstring TextOf(const std::vector<Line>& lines) {
  std::wstring text;
  for (const Line& line : lines) text += line.text + line.end;
  return text;
}

}  // namespace

std::string EditIniBytes(std::string_view bytes, const std::vector<IniChange>& changes,
                         const AnsiCodePage& ansi) {
  IniLines file = ReadLines(bytes, ansi);
  const std::wstring end = NewLineEnd(file.lines);
  for (const IniChange& change : changes) Apply(file, change, end, ansi);
  // Read back line by line, the lines not changed read as before: only the
  // new and changed ones, or a file that now reads as UTF-8, can differ.
  const auto kept = Encode(file.lines, file.encoding, true, ansi);
  if (kept && DecodeIniBytes(*kept, ansi) == TextOf(file.lines)) return *kept;
  return *Encode(file.lines, IniEncoding::Utf16LeWithBom, false, ansi);
}

}  // namespace 定义
