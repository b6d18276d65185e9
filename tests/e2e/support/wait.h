#pragma once
// Tests wait for conditions, never for fixed times: the build machines are
// loaded 2-core boxes where a window can take seconds to appear, and a fixed
// sleep is either too short there or wastes time everywhere else.

#include <functional>

namespace e2e {

// Long enough for a cold Wine start on a busy machine; a passing test never
// waits that long, so generous costs nothing.
inline constexpr int kDefaultTimeoutMs = 20000;
inline constexpr int kPollIntervalMs = 20;

// Calls predicate every kPollIntervalMs until it returns true (then true) or
// timeoutMs have passed (then false, after one last try).
bool WaitFor(const std::function<bool()>& predicate, int timeoutMs = kDefaultTimeoutMs);

}  // namespace e2e
