#pragma once
// The scripted SNTP servers (tests/tools/bad_sntp_server.cpp) and the
// end-to-end tests agree on these: on each address, port 123, a server that
// breaks one rule of the protocol in its answers. scripts/sntp-servers.sh
// starts them inside the sandbox. Only constants, for the native helper and
// the Windows tests alike.

#include <cstdint>

namespace bad_sntp {

enum class Way { WrongOrigin, KissOfDeath, LeapThree, Short, OtherPort };

struct Server {
  Way way;
  const char* address;
};

inline constexpr Server kServers[] = {
    {Way::WrongOrigin, "127.0.0.21"}, {Way::KissOfDeath, "127.0.0.22"},
    {Way::LeapThree, "127.0.0.23"},   {Way::Short, "127.0.0.24"},
    {Way::OtherPort, "127.0.0.25"},
};

// The code its kiss-o'-death carries, and the port that answers in the
// place of 123.
inline constexpr char kKissCode[] = "DENY";
inline constexpr std::uint16_t kOtherPort = 124;

}  // namespace bad_sntp
