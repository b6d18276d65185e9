#include "wait.h"

#include <windows.h>

namespace e2e {

bool WaitFor(const std::function<bool()>& predicate, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!predicate()) {
    if (GetTickCount64() >= deadline) return predicate();
    Sleep(kPollIntervalMs);
  }
  return true;
}

}  // namespace e2e
