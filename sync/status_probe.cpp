#include "sync/status_probe.h"

std::optional<bool> StatusProbe::Tick(const std::wstring& addressText) {
  std::optional<bool> shown;
  if (echo_.IsWaiting()) {
    if (!echo_.IsOverdue(system_.SteadyNow())) return std::nullopt;
    echo_.GiveUp();
    if (sentFor_ == addressText) shown = false;
  }
  sentFor_ = addressText;
  if (!echo_.Send(system_, addressText)) return false;
  return shown;
}

std::optional<bool> StatusProbe::EchoEnded(EchoTicket echo, bool answered,
                                           const std::wstring& addressText) {
  if (!echo_.Take(echo) || sentFor_ != addressText) return std::nullopt;
  return answered;
}
