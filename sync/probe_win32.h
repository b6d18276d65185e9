#pragma once

#include <string>

namespace ping {

// Sends one ICMP echo to the address and waits at most 200 ms. True only for
// an echo reply: an ICMP error such as host unreachable, which a router sends
// for a server that is down, is stored as a reply too but is no answer.
bool ProbeHost(const std::wstring& addressText);

}  // namespace ping
