#include "sync/scheduler.h"

#include <gtest/gtest.h>

namespace {

// Ticks until the sync falls due; -1 when it does not within the limit.
int TicksUntilDue(int interval, std::int64_t& count, int limit = 100000) {
  for (int tick = 1; tick <= limit; ++tick)
    if (AdvanceSyncSchedule(interval, count) == ScheduleTick::SyncDue) return tick;
  return -1;
}

TEST(AdvanceSyncSchedule, FallsDueAfterTheIntervalInSeconds) {
  std::int64_t count = 0;
  EXPECT_EQ(TicksUntilDue(30, count), 1800);
  EXPECT_EQ(count, 1800);
}

TEST(AdvanceSyncSchedule, IntervalZeroHoldsTheCount) {
  std::int64_t count = 77;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AdvanceSyncSchedule(0, count), ScheduleTick::NoInterval);
  EXPECT_EQ(count, 77);
  EXPECT_EQ(AdvanceSyncSchedule(1, count), ScheduleTick::SyncDue);
}

TEST(AdvanceSyncSchedule, IntervalLoweredBelowTheCountFallsDueOnTheNextTick) {
  std::int64_t count = 400;
  EXPECT_EQ(AdvanceSyncSchedule(5, count), ScheduleTick::SyncDue);
}

TEST(AdvanceSyncSchedule, IntervalRaisedWhileCountingAppliesFromTheNextTick) {
  std::int64_t count = 0;
  for (int i = 0; i < 299; ++i) ASSERT_EQ(AdvanceSyncSchedule(5, count), ScheduleTick::Counting);
  EXPECT_EQ(TicksUntilDue(10, count), 301);
}

TEST(AdvanceSyncSchedule, LongestIntervalIsOneHundredMinutes) {
  std::int64_t count = 0;
  EXPECT_EQ(TicksUntilDue(100, count), 6000);
}

}  // namespace
