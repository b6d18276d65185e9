#pragma once

#include <optional>
#include <string>

#include "sync/echo_slot.h"
#include "sync/sync_system.h"

// Whether the server answers now, asked twice a second with one echo at a
// time, so that a silent server gets no more echoes than an answering one.
// Each call hands back whether it answered, when there is something to show.
class StatusProbe {
 public:
  explicit StatusProbe(SyncSystem& system) : system_(system) {}

  // Sends the next echo for the text unless one is still out. No answer is
  // shown at once for a text that is no address and for an echo given up.
  std::optional<bool> Tick(const std::wstring& addressText);
  // Nothing for an echo not waited for, and for one sent for a text typed
  // over since: its answer would colour the new text wrongly.
  std::optional<bool> EchoEnded(EchoTicket echo, bool answered, const std::wstring& addressText);

 private:
  SyncSystem& system_;
  EchoSlot echo_{ProbeFor::Status};
  std::wstring sentFor_;
};
