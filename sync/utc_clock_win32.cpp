#include "sync/clock_set_win32.h"

bool SetUtcClock(const SYSTEMTIME& utc) { return SetSystemTime(&utc) != FALSE; }
