#include "sync/address.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "shown_text.h"

namespace {

struct Conversion {
  const wchar_t* text;
  std::optional<std::int32_t> address;
};

class DottedQuadToAddressTest : public testing::TestWithParam<Conversion> {};

TEST_P(DottedQuadToAddressTest, Converts) {
  EXPECT_EQ(ping::DottedQuadToAddress(GetParam().text), GetParam().address) << GetParam().text;
}

constexpr std::int32_t kDefault = 0x0101A8C0;
constexpr std::optional<std::int32_t> kFailure = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, DottedQuadToAddressTest,
    testing::Values(Conversion{L"192.168.1.1", kDefault}, Conversion{L"255.255.255.255", -1},
                    Conversion{L"10.0.0.200", static_cast<std::int32_t>(0xC800000Au)},
                    Conversion{L" 192. 168 .1.1 ", kDefault},
                    Conversion{L"\t192.168.1.1", kDefault}, Conversion{L"+192.168.1.1", kDefault},
                    // Only the lowest byte of a part counts.
                    Conversion{L"192.168.1.300", 0x2C01A8C0},
                    Conversion{L"192.168.1.256", 0x0001A8C0},
                    Conversion{L"192.168.1.-1", static_cast<std::int32_t>(0xFF01A8C0u)},
                    Conversion{L"192.168.1.2147483647", static_cast<std::int32_t>(0xFF01A8C0u)},
                    Conversion{L"192.168.1.-2147483648", 0x0001A8C0},
                    // Fewer than four parts are the address 0, not a failure.
                    Conversion{L"", 0}, Conversion{L"192.168.1", 0}, Conversion{L"1..2", 0},
                    Conversion{L".", 0}, Conversion{L"abc", 0},
                    // Five or more parts.
                    Conversion{L"192.168.1.1.5", kFailure}, Conversion{L"192.168.1.1.", kFailure},
                    Conversion{L"....", kFailure},
                    // Four parts, one of them empty, not a number or out of range.
                    Conversion{L"192.168..1", kFailure}, Conversion{L".1.2.3", kFailure},
                    Conversion{L"1.2.3.", kFailure}, Conversion{L"...", kFailure},
                    Conversion{L"192.168.1.x", kFailure}, Conversion{L"1.1.1.+-1", kFailure},
                    Conversion{L"192.168.1.99999999999", kFailure},
                    Conversion{L"192.168.1.2147483648", kFailure},
                    Conversion{L"192.168.1. ", kFailure}, Conversion{L"192.168.1.1 1", kFailure},
                    Conversion{L"192.168.1.-", kFailure}, Conversion{L"192.168.1.0x1", kFailure},
                    Conversion{L"192.168.1.１", kFailure}, Conversion{L"192.168.1.- 1", kFailure}));

TEST(DottedQuadToAddress, BytesStandInNetworkOrderInLittleEndianMemory) {
  const std::int32_t address = *ping::DottedQuadToAddress(L"192.168.1.1");
  unsigned char bytes[4];
  std::memcpy(bytes, &address, sizeof bytes);
  if constexpr (std::endian::native == std::endian::little) {
    EXPECT_EQ(bytes[0], 0xC0);
    EXPECT_EQ(bytes[1], 0xA8);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(bytes[3], 0x01);
  }
}

// The rule of the header, stated apart from the code: split at every full
// stop; fewer than four parts give 0, more than four nothing; each of four is
// a decimal number with at most one sign and blanks around it, within 32
// bits, whose lowest byte counts.
std::optional<std::int32_t> ByTheRule(const std::wstring& text) {
  std::vector<std::wstring> parts(1);
  for (const wchar_t c : text) {
    if (c == L'.')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() > 4) return std::nullopt;
  if (parts.size() < 4) return 0;
  static const std::wregex number(LR"([ \t]*([+-]?)([0-9]+)[ \t]*)");
  std::uint32_t address = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    std::wsmatch match;
    if (!std::regex_match(parts[k], match, number)) return std::nullopt;
    const std::wstring digits = match[2].str();
    const std::size_t first = digits.find_first_not_of(L'0');
    if (first != std::wstring::npos && digits.size() - first > 10) return std::nullopt;
    std::int64_t value = first == std::wstring::npos ? 0 : std::stoll(digits.substr(first));
    if (match[1] == L"-") value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
      return std::nullopt;
    address |= (static_cast<std::uint32_t>(value) & 0xFFu) << (8 * k);
  }
  return static_cast<std::int32_t>(address);
}

// A number near the edges that matter, with signs, a leading zero or blanks
// around it; or anything made of digits, signs, blanks and look-alikes.
rc::Gen<std::wstring> AddressPart() {
  const auto blanks = rc::gen::container<std::wstring>(rc::gen::element(L' ', L'\t'));
  const auto number =
      rc::gen::oneOf(rc::gen::element<std::int64_t>(0, 1, 255, 256, 2147483647, 2147483648,
                                                    4294967296, 99999999999),
                     rc::gen::inRange<std::int64_t>(-4294967296, 4294967296));
  const auto signed_ = rc::gen::apply(
      [](std::int64_t value, std::wstring sign, std::wstring before, std::wstring after) {
        std::wstring digits = std::to_wstring(value < 0 ? -(value + 1) : value);
        return before + sign + digits + after;
      },
      number, rc::gen::element<std::wstring>(L"", L"+", L"-", L"+-", L"--", L"0"), blanks, blanks);
  const auto junk = rc::gen::container<std::wstring>(
      rc::gen::element(L'0', L'1', L'9', L'+', L'-', L' ', L'\t', L'x', L'\u0663', L'\uFF11'));
  return rc::gen::weightedOneOf<std::wstring>({{6, signed_}, {1, junk}});
}

rc::Gen<std::wstring> AddressText() {
  using Parts = std::vector<std::wstring>;
  const auto parts = rc::gen::oneOf(rc::gen::container<Parts>(4, AddressPart()),
                                    rc::gen::container<Parts>(AddressPart()));
  return rc::gen::map(parts, [](const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (std::size_t k = 0; k < parts.size(); ++k) text += (k ? L"." : L"") + parts[k];
    return text;
  });
}

// Any text converts as the rule says.
RC_GTEST_PROP(DottedQuadToAddress, FollowsTheRuleForAnyText, ()) {
  const std::wstring text = *AddressText();
  RC_LOG() << ShownText(text);
  RC_ASSERT(ping::DottedQuadToAddress(text) == ByTheRule(text));
}

}  // namespace
