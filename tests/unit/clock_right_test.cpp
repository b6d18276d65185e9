#include "sync/clock_right.h"

#include <gtest/gtest.h>

namespace {

struct RouteCase {
  std::optional<ClockRight> right;
  SyncRoute onClick, onSchedule;
  bool shield;
};

constexpr ClockRight kHeld{.held = true}, kHeldElevatable{.held = true, .canElevate = true};
constexpr ClockRight kMissing{}, kMissingElevatable{.canElevate = true};

TEST(ChooseSyncRoute, OnlyAClickWithoutTheRightButWithElevationAsksForIt) {
  const RouteCase cases[] = {
      {std::nullopt, SyncRoute::Direct, SyncRoute::Direct, false},  // token unreadable
      {kHeld, SyncRoute::Direct, SyncRoute::Direct, false},
      {kHeldElevatable, SyncRoute::Direct, SyncRoute::Direct, false},
      {kMissingElevatable, SyncRoute::Elevated, SyncRoute::NoRightButElevatable, true},
      {kMissing, SyncRoute::NoRight, SyncRoute::NoRight, false},
  };
  for (const RouteCase& c : cases) {
    EXPECT_EQ(ChooseSyncRoute(c.right, SyncTrigger::Click), c.onClick);
    EXPECT_EQ(ChooseSyncRoute(c.right, SyncTrigger::Schedule), c.onSchedule);
    EXPECT_EQ(NeedsShield(c.right), c.shield);
  }
}

}  // namespace
