#include "sync/address.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

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

}  // namespace
