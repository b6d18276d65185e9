#include "sync/clock_right.h"

SyncRoute ChooseSyncRoute(const std::optional<ClockRight>& right, SyncTrigger trigger) {
  if (!right || right->held) return SyncRoute::Direct;
  if (!right->canElevate) return SyncRoute::NoRight;
  return trigger == SyncTrigger::Click ? SyncRoute::Elevated : SyncRoute::NoRightButElevatable;
}

bool NeedsShield(const std::optional<ClockRight>& right) {
  return ChooseSyncRoute(right, SyncTrigger::Click) == SyncRoute::Elevated;
}
