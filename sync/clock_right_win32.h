#pragma once

#include <windows.h>

#include "sync/clock_right.h"

// The right to change the system time, read from this process's token.
class ProcessTokenClockRight final : public ClockRightQuery {
 public:
  std::optional<ClockRight> ReadClockRight() override;
};

// Whether that process's token holds the right; false when it cannot be
// read.
bool ProcessHoldsClockRight(HANDLE process);
