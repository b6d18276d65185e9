#include "settings/ini_edit.h"

#include <optional>

#include "settings/profile_text.h"

namespace 定义 {
namespace {

constexpr wchar_t kNewFileLineEnd[] = L"\r\n";

struct Line {
  std::wstring text;   // without its end
  std::wstring end;    // empty only for a last line that has none
  std::string stored;  // as the file holds it, end included; empty once new or changed
};

struct IniLines {
  IniEncoding encoding = IniEncoding::Ansi;
  std::vector<Line> lines;
};

bool IsUtf16(IniEncoding encoding) {
  return encoding == IniEncoding::Utf16LeWithBom || encoding == IniEncoding::Utf16BeWithBom;
}

// CR and LF are code units of their own in every form: no multi-byte
// character of GBK or UTF-8 holds those bytes.
class CodeUnits {
 public:
  CodeUnits(std::string_view body, IniEncoding encoding)
      : body_(body), encoding_(encoding), size_(IsUtf16(encoding) ? 2 : 1) {}

  std::size_t Size() const { return size_; }
  bool Fits(std::size_t at) const { return at + size_ <= body_.size(); }
  bool Is(std::size_t at, char32_t value) const { return Fits(at) && At(at) == value; }
  bool IsLineEnd(std::size_t at) const { return Is(at, L'\r') || Is(at, L'\n'); }

 private:
  char32_t At(std::size_t at) const {
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(body_[i]); };
    if (!IsUtf16(encoding_)) return byte(at);
    if (encoding_ == IniEncoding::Utf16BeWithBom) return byte(at) << 8 | byte(at + 1);
    return byte(at + 1) << 8 | byte(at);
  }

  std::string_view body_;
  IniEncoding encoding_;
  std::size_t size_;
};

// Lines end at CR LF, CR or LF, as ProfileValue reads them.
IniLines SplitLines(std::string_view bytes, const AnsiCodePage& ansi) {
  IniLines file{DetectIniEncoding(bytes), {}};
  const std::string_view body = bytes.substr(BomOf(file.encoding).size());
  const CodeUnits units(body, file.encoding);
  for (std::size_t start = 0; start < body.size();) {
    std::size_t end = start;
    while (units.Fits(end) && !units.IsLineEnd(end)) end += units.Size();
    std::size_t next = units.Is(end, L'\r') ? end + units.Size() : end;
    if (units.Is(next, L'\n')) next += units.Size();
    if (next == end) next = body.size();  // the last line, and an odd byte of UTF-16
    file.lines.push_back({DecodeAs(body.substr(start, end - start), file.encoding, ansi),
                          DecodeAs(body.substr(end, next - end), file.encoding, ansi),
                          std::string(body.substr(start, next - start))});
    start = next;
  }
  return file;
}

// Where the key's line is, or else where a new one goes: after the last
// entry of the first section of that name (after its header when it has none).
struct Place {
  std::size_t line = 0;
  bool found = false;
};

std::optional<Place> FindEntry(const std::vector<Line>& lines, const IniChange& change) {
  bool inSection = false, inFirstSection = false;
  std::optional<Place> place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ProfileLine line = ReadProfileLine(lines[i].text);
    if (line.kind == ProfileLineKind::Section) {
      inSection = SameProfileName(line.name, change.section);
      inFirstSection = inSection && !place;
      if (inFirstSection) place = Place{i + 1};
    } else if (inSection && line.kind == ProfileLineKind::Entry) {
      if (SameProfileName(line.name, change.key)) return Place{i, true};
      if (inFirstSection) place = Place{i + 1};
    }
  }
  return place;
}

// What stands before the value (the key, "=" and the blanks after it) stays.
void SetValue(Line& line, const std::wstring& value) {
  const std::size_t equals = line.text.find(L'=');
  if (equals == std::wstring::npos) {
    line.text += L"=" + value;
  } else {
    const std::size_t valueAt = line.text.find_first_not_of(L" \t", equals + 1);
    line.text = line.text.substr(0, valueAt) + value;
  }
  line.stored.clear();
}

void Insert(std::vector<Line>& lines, std::size_t at, std::wstring text, const std::wstring& end) {
  if (at > 0 && lines[at - 1].end.empty()) {
    lines[at - 1].end = end;
    lines[at - 1].stored.clear();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), end, {}});
}

void Apply(std::vector<Line>& lines, const IniChange& change, const std::wstring& end) {
  const std::optional<Place> place = FindEntry(lines, change);
  if (place && place->found) return SetValue(lines[place->line], change.value);
  const std::wstring entry = change.key + L"=" + change.value;
  if (place) return Insert(lines, place->line, entry, end);
  Insert(lines, lines.size(), L"[" + change.section + L"]", end);
  Insert(lines, lines.size(), entry, end);
}

// keepStored: the lines not changed are copied as the file holds them.
std::optional<std::string> Encode(const std::vector<Line>& lines, IniEncoding encoding,
                                  bool keepStored, const AnsiCodePage& ansi) {
  std::string bytes(BomOf(encoding));
  for (const Line& line : lines) {
    if (keepStored && !line.stored.empty()) {
      bytes += line.stored;
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
  IniLines file = SplitLines(bytes, ansi);
  const std::wstring end = file.lines.empty() || file.lines.front().end.empty()
                               ? kNewFileLineEnd
                               : file.lines.front().end;
  for (const IniChange& change : changes) Apply(file.lines, change, end);
  const auto kept = Encode(file.lines, file.encoding, true, ansi);
  if (kept && DecodeIniBytes(*kept, ansi) == TextOf(file.lines)) return *kept;
  return *Encode(file.lines, IniEncoding::Utf16LeWithBom, false, ansi);
}

}  // namespace 定义
