#include "sync/ntp_time.h"

#include "text/decimal_text.h"

namespace sntp {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
// From 1601, where Windows counts from, to 1900, where the first era began.
constexpr std::uint64_t kSecondsFrom1601To1900 = 9'435'484'800;
constexpr int kFractionBits = 32;
constexpr std::uint64_t kFractionMask = 0xFFFF'FFFF;

// A fraction of a second in 2^-32 s, scaled to `units` per second, rounded
// down; the product stays below 2^64 for any units up to 2^32.
std::uint64_t ScaledFraction(std::uint64_t fraction, std::uint64_t units) {
  return (fraction * units) >> kFractionBits;
}

}  // namespace

Timestamp FromFileTimeTicks(std::uint64_t ticks) {
  // Unsigned arithmetic wraps modulo 2^64, which is modulo the era once the
  // seconds are shifted into the high half.
  const std::uint64_t seconds = ticks / kTicksPerSecond - kSecondsFrom1601To1900;
  const std::uint64_t fraction = ((ticks % kTicksPerSecond) << kFractionBits) / kTicksPerSecond;
  return (seconds << kFractionBits) | fraction;
}

// Halved before they are added, so that the sum cannot overflow; the two
// halves' lost bits add one exactly when both were odd.
Offset ClockOffset(Timestamp t1, Timestamp t2, Timestamp t3, Timestamp t4) {
  const auto there = static_cast<Offset>(t2 - t1);
  const auto back = static_cast<Offset>(t3 - t4);
  return (there >> 1) + (back >> 1) + (there & back & 1);
}

std::int64_t OffsetTicks(Offset offset) {
  const Offset seconds = offset >> kFractionBits;  // rounded down, also below 0
  const auto fraction = static_cast<std::uint64_t>(offset) & kFractionMask;
  return seconds * static_cast<std::int64_t>(kTicksPerSecond) +
         static_cast<std::int64_t>(ScaledFraction(fraction, kTicksPerSecond));
}

std::wstring SignedSeconds(Offset offset) {
  const bool negative = offset < 0;
  // The magnitude as unsigned, so that the most negative offset has one too.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(offset) : static_cast<std::uint64_t>(offset);
  const std::uint64_t halfUnit = 1ull << (kFractionBits - 1);
  const std::uint64_t milliseconds =
      (magnitude >> kFractionBits) * 1000 +
      (((magnitude & kFractionMask) * 1000 + halfUnit) >> kFractionBits);
  std::wstring thousandths = DecimalText(milliseconds % 1000);
  thousandths.insert(0, 3 - thousandths.size(), L'0');
  // Less than half a millisecond behind is no correction to speak of.
  return (negative && milliseconds != 0 ? L"-" : L"+") + DecimalText(milliseconds / 1000) + L"." +
         thousandths;
}

}  // namespace sntp
