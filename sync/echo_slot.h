#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "sync/sync_system.h"

// The one echo a sender waits for at a time, and since when.
class EchoSlot {
 public:
  explicit EchoSlot(ProbeFor prober) : prober_(prober) {}

  // Sends an echo to the address text, which the slot then waits for. A
  // text that is no address is not sent (false): nobody could answer it.
  bool Send(SyncSystem& system, const std::wstring& addressText);
  bool IsWaiting() const { return waiting_; }
  // An echo ends by its 200 ms time-out at the latest. One whose end has not
  // come after a second never will, and no longer holds back the next.
  bool IsOverdue(std::chrono::milliseconds now) const;
  // True, and the slot is free again, when the echo is the one waited for.
  bool Take(EchoTicket echo);
  // The echo is no longer waited for: its end, should it come, is dropped.
  void GiveUp() { waiting_ = false; }

 private:
  ProbeFor prober_;
  std::uint32_t sent_ = 0;
  bool waiting_ = false;
  std::chrono::milliseconds sentAt_{};
};
