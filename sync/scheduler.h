#pragma once

#include <cstdint>

enum class ScheduleTick { NoInterval, Counting, SyncDue };

// One tick of the one-second timer. An interval of 0 minutes holds the count.
// The sync falls due when the count reaches or has passed the interval, so
// lowering the interval below the count already reached syncs on the next
// tick instead of never.
ScheduleTick AdvanceSyncSchedule(int intervalMinutes, std::int64_t& syncTickCount);
