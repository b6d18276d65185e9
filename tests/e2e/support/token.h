#pragma once
// Tokens for starting the product with less than the test's own rights.

#include "win32/unique_handle.h"

namespace e2e {

// A primary token like the test's own, but without the right to change the
// system time, or nothing when it cannot be made. filtered: made from the
// administrator's filtered token, whose full token a consent prompt would
// hand out; otherwise from the full token, which no prompt can raise.
UniqueKernelHandle TokenWithoutClockRight(bool filtered);

// The administrator's filtered token, as a primary token: under Wine it keeps
// every right, but tells its elevation type as UAC's filtered one does.
UniqueKernelHandle FilteredToken();

}  // namespace e2e
