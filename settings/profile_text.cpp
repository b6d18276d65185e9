#include "settings/profile_text.h"

#include <algorithm>
#include <limits>

namespace 定义 {
namespace {

std::wstring_view Trimmed(std::wstring_view text) {
  // A stray NUL is no part of a name or a value.
  constexpr std::wstring_view kBlanks(L" \t\0", 3);
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

wchar_t FoldCase(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

std::wstring_view Unquoted(std::wstring_view value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Calls visit(line) for each line, whatever its ending; stops when it
// returns true.
template <typename Visit>
void ForEachLine(std::wstring_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(L"\r\n");
    if (visit(text.substr(0, end))) return;
    if (end == std::wstring_view::npos) return;
    text.remove_prefix(end + (text.substr(end, 2) == L"\r\n" ? 2 : 1));
  }
}

}  // namespace

ProfileLine ReadProfileLine(std::wstring_view rawLine) {
  const std::wstring_view line = Trimmed(rawLine);
  if (line.empty()) return {};
  if (line.front() == L';') return {ProfileLineKind::Comment, {}, {}};
  if (line.front() == L'[') {
    const std::size_t close = line.find(L']');
    if (close != line.npos)
      return {ProfileLineKind::Section, Trimmed(line.substr(1, close - 1)), {}};
  }
  const std::size_t equals = line.find(L'=');
  if (equals == line.npos) return {ProfileLineKind::Entry, line, {}};
  return {ProfileLineKind::Entry, Trimmed(line.substr(0, equals)),
          Unquoted(Trimmed(line.substr(equals + 1)))};
}

bool SameProfileName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

std::wstring ProfileValue(std::wstring_view text, std::wstring_view section,
                          std::wstring_view key) {
  return FindProfileValue(text, section, key).value_or(L"");
}

std::optional<std::wstring> FindProfileValue(std::wstring_view text, std::wstring_view section,
                                             std::wstring_view key) {
  bool inSection = false;
  std::optional<std::wstring> value;
  ForEachLine(text, [&](std::wstring_view rawLine) {
    const ProfileLine line = ReadProfileLine(rawLine);
    if (line.kind == ProfileLineKind::Section) {
      if (inSection) return true;  // the first section of the name has ended
      inSection = SameProfileName(line.name, section);
    }
    if (!inSection || line.kind != ProfileLineKind::Entry || !SameProfileName(line.name, key))
      return false;
    value = std::wstring(line.value);
    return true;
  });
  return value;
}

std::int32_t ProfileInt(std::wstring_view value) {
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::size_t i = 0;
  const bool negative = !value.empty() && value[0] == L'-';
  if (!value.empty() && (value[0] == L'-' || value[0] == L'+')) ++i;
  std::int64_t magnitude = 0;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i)
    magnitude = std::min(magnitude * 10 + (value[i] - L'0'), kLimit);
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace 定义
