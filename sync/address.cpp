#include "sync/address.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace ping {
namespace {

constexpr std::size_t kPartsOfAQuad = 4;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::wstring_view> SplitAtFullStops(std::wstring_view text) {
  std::vector<std::wstring_view> parts;
  for (;;) {
    const auto stop = text.find(L'.');
    parts.push_back(text.substr(0, stop));
    if (stop == std::wstring_view::npos) return parts;
    text.remove_prefix(stop + 1);
  }
}

// A signed decimal whole number with optional blanks around it.
std::optional<std::int32_t> ReadPart(std::wstring_view part) {
  part = TrimBlanks(part);
  // One sign at most: a plus followed by a minus stays, and is refused below.
  if (part.size() > 1 && part[0] == L'+' && part[1] != L'-') part.remove_prefix(1);
  // std::from_chars wants narrow characters; anything else is not a digit.
  std::string narrow;
  for (const wchar_t c : part) {
    if (c != L'-' && (c < L'0' || c > L'9')) return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  std::int32_t value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto [stop, error] = std::from_chars(narrow.data(), end, value);
  if (narrow.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int32_t> DottedQuadToAddress(std::wstring text) {
  const auto parts = SplitAtFullStops(text);
  if (parts.size() > kPartsOfAQuad) return std::nullopt;
  if (parts.size() < kPartsOfAQuad) return 0;

  std::uint32_t address = 0;
  for (std::size_t k = 0; k < kPartsOfAQuad; ++k) {
    const auto value = ReadPart(parts[k]);
    if (!value) return std::nullopt;
    address |= (static_cast<std::uint32_t>(*value) & 0xFFu) << (8 * k);
  }
  return static_cast<std::int32_t>(address);
}

}  // namespace ping
