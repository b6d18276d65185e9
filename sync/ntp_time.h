#pragma once

#include <cstdint>
#include <string>

namespace sntp {

// A time as NTP carries it: seconds since the start of the current era in
// the high 32 bits, the fraction of a second in the low 32. The first era
// began in 1900 and ends in February 2036, when the count starts again at 0.
using Timestamp = std::uint64_t;

// A difference of two clocks in the same fixed point, signed: about 68 years
// either way.
using Offset = std::int64_t;

// Windows' system time: 100 ns ticks since 1601, in UTC.
Timestamp FromFileTimeTicks(std::uint64_t ticks);

// How far the local clock is behind the server's, from the client's send
// (t1) and receipt (t4) and the server's receipt (t2) and send (t3):
// ((t2 - t1) + (t3 - t4)) / 2, rounded down. Each difference is taken
// modulo the era, so times on both sides of an era's end give the offset
// as well, as long as the clocks are less than 68 years apart.
Offset ClockOffset(Timestamp t1, Timestamp t2, Timestamp t3, Timestamp t4);

// The offset in 100 ns ticks, rounded down, for correcting a system time.
std::int64_t OffsetTicks(Offset offset);

// "+1.234" or "-0.050": whole milliseconds, rounded to the nearest; no
// correction at all, "+0.000".
std::wstring SignedSeconds(Offset offset);

}  // namespace sntp
