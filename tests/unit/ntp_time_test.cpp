#include "sync/ntp_time.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

namespace {

// Exact arithmetic, beyond what any 64-bit offset could hold.
using Exact = __int128;
constexpr Exact kEra = Exact{1} << 64;  // in 2^-32 s

Exact FloorHalf(Exact value) { return value / 2 - (value < 0 && value % 2 != 0 ? 1 : 0); }

// A time on the wire: what remains of an absolute time within its era.
sntp::Timestamp OnTheWire(Exact time) { return static_cast<sntp::Timestamp>(time & (kEra - 1)); }

// Four times within about 17 years either side of the end of era 0 (2036),
// 1 (2172) or 2, or of the start of era 0: the formula's offset, exactly.
RC_GTEST_PROP(ClockOffset, IsTheExactFormulaAroundAnyEraEnd, ()) {
  const Exact boundary = kEra * *rc::gen::inRange(0, 3);
  const auto near = [&] {
    return boundary +
           *rc::gen::inRange<std::int64_t>(-(std::int64_t{1} << 61), std::int64_t{1} << 61);
  };
  const Exact t1 = near(), t2 = near(), t3 = near(), t4 = near();
  const Exact expected = FloorHalf((t2 - t1) + (t3 - t4));
  RC_ASSERT(Exact{sntp::ClockOffset(OnTheWire(t1), OnTheWire(t2), OnTheWire(t3), OnTheWire(t4))} ==
            expected);
}

TEST(FromFileTimeTicks, CountsFrom1900AndStartsAgainIn2036) {
  constexpr std::uint64_t k1900 = 94'354'848'000'000'000;
  constexpr std::uint64_t k1970 = 116'444'736'000'000'000;
  EXPECT_EQ(sntp::FromFileTimeTicks(k1900), 0u);
  EXPECT_EQ(sntp::FromFileTimeTicks(k1970), std::uint64_t{2'208'988'800} << 32);
  EXPECT_EQ(sntp::FromFileTimeTicks(k1970 + 5'000'000),
            std::uint64_t{2'208'988'800} << 32 | 0x80000000);
  EXPECT_EQ(sntp::FromFileTimeTicks(k1900 + (std::uint64_t{1} << 32) * 10'000'000), 0u);
}

// Two system times, on either side of 2036 or not: the difference of their
// timestamps, back in ticks, is theirs within the rounding of a tick.
RC_GTEST_PROP(OffsetTicks, TakesTheDifferenceOfTwoSystemTimesBackIntoTicks, ()) {
  constexpr std::int64_t k2036 = 137'304'165'760'000'000;
  constexpr std::int64_t kSeventeenYears = 5'364'000'000'000'000;
  const std::int64_t a = k2036 + *rc::gen::inRange(-kSeventeenYears, kSeventeenYears);
  const std::int64_t b = k2036 + *rc::gen::inRange(-kSeventeenYears, kSeventeenYears);
  const auto offset =
      static_cast<sntp::Offset>(sntp::FromFileTimeTicks(static_cast<std::uint64_t>(b)) -
                                sntp::FromFileTimeTicks(static_cast<std::uint64_t>(a)));
  const std::int64_t error = sntp::OffsetTicks(offset) - (b - a);
  RC_ASSERT(error >= -1);
  RC_ASSERT(error <= 1);
}

// Any whole number of milliseconds, as the nearest offset: written back as
// that number, with its sign and three decimals.
RC_GTEST_PROP(SignedSeconds, WritesTheMillisecondsWithSignAndThreeDecimals, ()) {
  const std::int64_t ms = *rc::gen::inRange<std::int64_t>(-2'000'000'000'000, 2'000'000'000'000);
  const Exact scaled = Exact{ms} * (Exact{1} << 32);
  const auto offset = static_cast<sntp::Offset>((scaled + (ms < 0 ? -500 : 500)) / 1000);
  const std::int64_t magnitude = ms < 0 ? -ms : ms;
  std::wstring thousandths = std::to_wstring(magnitude % 1000);
  thousandths.insert(0, 3 - thousandths.size(), L'0');
  RC_ASSERT(sntp::SignedSeconds(offset) ==
            (ms < 0 ? L"-" : L"+") + std::to_wstring(magnitude / 1000) + L"." + thousandths);
}

}  // namespace
