// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "sync/sntp_win32.h"

#include <memory>

#include "win32/unique_handle.h"

namespace sntp {
namespace {

constexpr ULONGLONG kAnswerWaitMilliseconds = 1000;
// Room for an answer with extension fields, which count as long as the
// header is whole; longer ones are cut and still read.
constexpr int kReceiveBytes = 1024;

struct SocketCloser {
  static void Close(SOCKET socket) { closesocket(socket); }
};
struct InvalidSocketIsNone {
  static SOCKET None() { return INVALID_SOCKET; }
};
using UniqueSocket = UniqueHandle<SOCKET, &SocketCloser::Close, InvalidSocketIsNone>;

class WinsockSession {
 public:
  WinsockSession() : started_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
  ~WinsockSession() {
    if (started_) WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  explicit operator bool() const { return started_; }

 private:
  WSADATA data_{};
  bool started_;
};

Timestamp LocalNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FromFileTimeTicks(ULARGE_INTEGER{{now.dwLowDateTime, now.dwHighDateTime}}.QuadPart);
}

// Waits for the socket to be readable until the deadline; false once it
// has passed.
bool WaitReadable(SOCKET socket, ULONGLONG deadline) {
  const ULONGLONG now = GetTickCount64();
  if (now >= deadline) return false;
  const auto remaining = static_cast<long>(deadline - now);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket, &readable);
  timeval timeout{remaining / 1000, remaining % 1000 * 1000};
  return select(0, &readable, nullptr, nullptr, &timeout) > 0;
}

// The datagrams that come back until one counts or the time is up. A port
// that refuses (an ICMP error, which Windows reports on the next receive)
// has no server behind it: nothing more will come.
Answer Ask(std::int32_t address, std::uint16_t port) {
  const WinsockSession winsock;
  if (!winsock) return {};
  const UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  if (!socket) return {};
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = static_cast<u_long>(address);
  const Timestamp sent = LocalNow();
  const auto request = Request(sent);
  Question question({address, port}, sent);
  if (sendto(socket.Get(), reinterpret_cast<const char*>(request.data()),
             static_cast<int>(request.size()), 0, reinterpret_cast<const sockaddr*>(&server),
             sizeof server) == SOCKET_ERROR)
    return {};
  const ULONGLONG deadline = GetTickCount64() + kAnswerWaitMilliseconds;
  while (WaitReadable(socket.Get(), deadline)) {
    std::uint8_t datagram[kReceiveBytes];
    sockaddr_in from{};
    int fromSize = sizeof from;
    const int received = recvfrom(socket.Get(), reinterpret_cast<char*>(datagram), kReceiveBytes, 0,
                                  reinterpret_cast<sockaddr*>(&from), &fromSize);
    const Timestamp arrived = LocalNow();
    if (received == SOCKET_ERROR && WSAGetLastError() != WSAEMSGSIZE) break;
    const int kept = received == SOCKET_ERROR ? kReceiveBytes : received;
    const Endpoint source{static_cast<std::int32_t>(from.sin_addr.s_addr), ntohs(from.sin_port)};
    if (const auto answer =
            question.Heard({datagram, static_cast<std::size_t>(kept)}, source, arrived))
      return *answer;
  }
  return question.TimedOut();
}

struct Asking {
  std::int32_t address;
  std::uint16_t port;
  AnswerEnded ended;
};

void CALLBACK AskOnPoolThread(PTP_CALLBACK_INSTANCE instance, void* context) {
  const std::unique_ptr<Asking> asking(static_cast<Asking*>(context));
  CallbackMayRunLong(instance);
  asking->ended(Ask(asking->address, asking->port));
}

}  // namespace

bool AskOnPool(std::int32_t address, std::uint16_t port, AnswerEnded ended) {
  auto asking = std::make_unique<Asking>(Asking{address, port, std::move(ended)});
  if (!TrySubmitThreadpoolCallback(AskOnPoolThread, asking.get(), nullptr)) return false;
  asking.release();  // the pool thread owns it now
  return true;
}

}  // namespace sntp
