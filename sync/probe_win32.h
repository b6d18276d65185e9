#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "win32/unique_handle.h"

namespace ping {

// One ICMP echo at a time, sent without waiting: its event is signalled when
// the echo has been answered or its 200 ms have passed.
class EchoProbe {
 public:
  EchoProbe();
  ~EchoProbe();
  EchoProbe(const EchoProbe&) = delete;
  EchoProbe& operator=(const EchoProbe&) = delete;

  // Sends one echo to the address, which is in network byte order. Only when
  // none is out: the one out would write into a freed buffer.
  void Send(std::int32_t address);
  // The handle to wait for while the echo is on its way, else null.
  HANDLE Completion() const { return echo_ && !endedAtOnce_ ? completed_.Get() : nullptr; }
  // Once the echo has ended, and only once: whether the server answered.
  std::optional<bool> TakeAnswer();

 private:
  // The ICMP handle of one echo and the reply buffer it writes into.
  struct Echo;

  UniqueKernelHandle completed_;
  std::unique_ptr<Echo> echo_;  // while the echo is out
  // The answer of an echo that ended within Send: it could not be sent.
  std::optional<bool> endedAtOnce_;
};

}  // namespace ping
