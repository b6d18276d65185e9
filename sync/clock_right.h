#pragma once

#include <optional>

// What the process token says about the right to change the system time.
struct ClockRight {
  // Present in the token, enabled or not: net.exe enables it itself.
  bool held = false;
  // An administrator's filtered token, whose full token Windows hands out
  // after a consent prompt.
  bool canElevate = false;
};

class ClockRightQuery {
 public:
  // Nothing when the token cannot be read.
  virtual std::optional<ClockRight> ReadClockRight() = 0;

 protected:
  ~ClockRightQuery() = default;
};

enum class SyncTrigger { Click, Schedule };

// Without the right net.exe would fail, so it is not started at all.
enum class SyncRoute {
  Direct,                // net.exe with the program's own token
  Elevated,              // net.exe through the consent prompt
  NoRight,               // and no prompt could give it
  NoRightButElevatable,  // but a click on "立即同步" could ask for it
};

// A token that cannot be read is taken to hold the right: net.exe then
// tells for itself. Only an explicit click may bring up the prompt.
SyncRoute ChooseSyncRoute(const std::optional<ClockRight>& right, SyncTrigger trigger);

// "立即同步" carries the shield exactly when a click would ask for the right.
bool NeedsShield(const std::optional<ClockRight>& right);
