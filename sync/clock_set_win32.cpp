#include "sync/clock_set_win32.h"

#include "win32/unique_handle.h"

namespace {

// The right, enabled while this lives, as it was before afterwards.
class EnabledClockRight {
 public:
  EnabledClockRight() {
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token_.Put()))
      return;
    TOKEN_PRIVILEGES wanted{1, {{{}, SE_PRIVILEGE_ENABLED}}};
    if (!LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &wanted.Privileges[0].Luid)) return;
    DWORD size = sizeof before_;
    // Succeeds with ERROR_NOT_ALL_ASSIGNED when the token lacks the right.
    enabled_ =
        AdjustTokenPrivileges(token_.Get(), FALSE, &wanted, sizeof before_, &before_, &size) &&
        GetLastError() == ERROR_SUCCESS;
  }
  ~EnabledClockRight() {
    if (enabled_) AdjustTokenPrivileges(token_.Get(), FALSE, &before_, 0, nullptr, nullptr);
  }
  EnabledClockRight(const EnabledClockRight&) = delete;
  EnabledClockRight& operator=(const EnabledClockRight&) = delete;

  explicit operator bool() const { return enabled_; }

 private:
  UniqueKernelHandle token_;
  TOKEN_PRIVILEGES before_{};
  bool enabled_ = false;
};

}  // namespace

ClockSetEnd SetClockBy(sntp::Offset offset) {
  const EnabledClockRight right;
  if (!right) return {ClockSet::NoRight};
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
  ticks.QuadPart += static_cast<ULONGLONG>(sntp::OffsetTicks(offset));
  const FILETIME corrected{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utc;
  if (!FileTimeToSystemTime(&corrected, &utc) || !SetUtcClock(utc))
    return {ClockSet::Refused, GetLastError()};
  return {ClockSet::Set};
}
