// Scripted SNTP servers, one on each address of tests/bad_sntp_servers.h,
// each breaking one rule of the protocol in its answers and keeping the
// others, its clock this machine's own. A native program, run beside
// chronyd inside the sandbox by scripts/sntp-servers.sh until it is ended:
// under Wine a socket bound to one loopback address answers from another.
// Prints "listening" once every socket is bound.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/bad_sntp_servers.h"

namespace {

constexpr std::size_t kPacketBytes = 48;
constexpr std::uint16_t kSntpPort = 123;

int Bound(const char* address, std::uint16_t port) {
  const int bound = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  if (bound < 0 || inet_pton(AF_INET, address, &where.sin_addr) != 1 ||
      bind(bound, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0)
    return -1;
  return bound;
}

// The question turned into an answer: the client's time as origin, receive
// and transmit time, with the one rule broken. Returns its length.
std::size_t Answer(bad_sntp::Way way, unsigned char (&packet)[kPacketBytes]) {
  std::memcpy(packet + 24, packet + 40, 8);
  std::memcpy(packet + 32, packet + 40, 8);
  packet[0] = 0x24;  // leap 0, version 4, server
  packet[1] = 2;     // stratum
  switch (way) {
    case bad_sntp::Way::WrongOrigin: packet[31] ^= 0x5A; break;
    case bad_sntp::Way::KissOfDeath:
      packet[0] = 0xE4;  // leap 3, as a kiss-o'-death has it
      packet[1] = 0;
      std::memcpy(packet + 12, bad_sntp::kKissCode, 4);
      break;
    case bad_sntp::Way::LeapThree: packet[0] = 0xE4; break;
    case bad_sntp::Way::Short: return 40;
    case bad_sntp::Way::OtherPort: break;
  }
  return kPacketBytes;
}

struct Listener {
  bad_sntp::Way way;
  int server, otherPort;
};

}  // namespace

int main() {
  std::vector<Listener> listeners;
  std::vector<pollfd> polled;
  for (const auto& [way, address] : bad_sntp::kServers) {
    const Listener listener{way, Bound(address, kSntpPort), Bound(address, bad_sntp::kOtherPort)};
    if (listener.server < 0 || listener.otherPort < 0) {
      std::perror(address);
      return 1;
    }
    listeners.push_back(listener);
    polled.push_back({listener.server, POLLIN, 0});
  }
  std::puts("listening");
  std::fflush(stdout);
  while (poll(polled.data(), polled.size(), -1) > 0) {
    for (std::size_t i = 0; i < polled.size(); ++i) {
      if (!(polled[i].revents & POLLIN)) continue;
      const Listener& listener = listeners[i];
      unsigned char packet[kPacketBytes];
      sockaddr_in client{};
      socklen_t size = sizeof client;
      if (recvfrom(listener.server, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&client),
                   &size) != static_cast<ssize_t>(kPacketBytes))
        continue;
      const std::size_t length = Answer(listener.way, packet);
      const int from =
          listener.way == bad_sntp::Way::OtherPort ? listener.otherPort : listener.server;
      sendto(from, packet, length, 0, reinterpret_cast<const sockaddr*>(&client), size);
    }
  }
  return 1;
}
