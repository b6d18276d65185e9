#pragma once

#include <windows.h>

#include "sync/ntp_time.h"
#include "sync/sync_outcome.h"

// Moves the system clock by the offset, with the right to change the time
// that this process holds, enabled for the change and no longer.
ClockSetEnd SetClockBy(sntp::Offset offset);

// The one call that changes the clock, linked in by each program: the
// product's is the system's SetSystemTime (utc_clock_win32.cpp); the build
// the end-to-end tests run records the time instead, since no test may
// move the clock of the machine it runs on.
bool SetUtcClock(const SYSTEMTIME& utc);
