#pragma once

#include <cstdint>
#include <functional>

namespace ping {

// Called on a thread of the system's pool once the echo has ended: whether
// the server answered.
using EchoEnded = std::function<void(bool answered)>;

// Sends one ICMP echo to the address, which is in network byte order, from
// the system's thread pool, and returns at once. The echo waits there for its
// answer or its 200 ms, in a buffer of its own that nobody else frees. False,
// and `ended` is never called, when the pool did not take the echo.
bool SendEcho(std::int32_t address, EchoEnded ended);

}  // namespace ping
