// The clock set of the product that the end-to-end tests of the SNTP route
// run: no test may move the clock of the machine it runs on (Wine refuses a
// change of more than half a second, but that is not relied on), so the
// time is recorded beside the exe, where the test reads it.

#include <cstdio>
#include <string>

#include "fake_tool.h"
#include "settings/exe_location.h"
#include "settings/exe_location_win32.h"
#include "support/fake_net_protocol.h"
#include "sync/clock_set_win32.h"

bool SetUtcClock(const SYSTEMTIME& utc) {
  char line[32];
  std::snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u.%03u", utc.wYear, utc.wMonth,
                utc.wDay, utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds);
  e2e::AppendLine(SplitExePath(RunningExePath()).directory + L"\\" + e2e::kRecordedClockFile,
                  std::string(line) + "\n");
  return true;
}
