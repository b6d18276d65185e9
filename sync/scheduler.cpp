#include "sync/scheduler.h"

ScheduleTick AdvanceSyncSchedule(int intervalMinutes, std::int64_t& syncTickCount) {
  if (intervalMinutes == 0) return ScheduleTick::NoInterval;
  ++syncTickCount;
  const std::int64_t intervalSeconds = std::int64_t{intervalMinutes} * 60;
  return syncTickCount >= intervalSeconds ? ScheduleTick::SyncDue : ScheduleTick::Counting;
}
