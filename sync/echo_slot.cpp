#include "sync/echo_slot.h"

#include "sync/address.h"

namespace {
constexpr std::chrono::seconds kEchoGivenUpAfter{1};
}  // namespace

bool EchoSlot::Send(SyncSystem& system, const std::wstring& addressText) {
  waiting_ = false;
  const auto address = ping::DottedQuadToAddress(addressText);
  if (!address) return false;
  waiting_ = true;
  sentAt_ = system.SteadyNow();
  system.ProbeHost({prober_, ++sent_}, *address);
  return true;
}

bool EchoSlot::IsOverdue(std::chrono::milliseconds now) const {
  return waiting_ && now - sentAt_ >= kEchoGivenUpAfter;
}

bool EchoSlot::Take(EchoTicket echo) {
  if (!waiting_ || echo != EchoTicket{prober_, sent_}) return false;
  waiting_ = false;
  return true;
}
