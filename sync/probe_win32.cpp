// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include "sync/probe_win32.h"

#include <memory>

#include "win32/unique_handle.h"

namespace ping {
namespace {

// IcmpCreateFile reports failure with INVALID_HANDLE_VALUE.
using UniqueIcmpHandle = UniqueHandle<HANDLE, &::IcmpCloseHandle, InvalidHandleValueIsNone>;

// The reply buffer: the echo reply header and room for the data.
struct IcmpEchoReply {
  ICMP_ECHO_REPLY header;
  char data[250];
};
// The size handed over is the header and data without the padding the
// struct gets to a multiple of four bytes.
constexpr DWORD kReplySize = sizeof(ICMP_ECHO_REPLY) + sizeof(IcmpEchoReply::data);
constexpr DWORD kTimeoutMilliseconds = 200;
char kRequestData[] = "Echo This";
constexpr WORD kRequestSize = sizeof kRequestData - 1;

struct Echo {
  std::int32_t address;
  EchoEnded ended;
};

// The echo call that waits for its end, on this pool thread: the asynchronous
// forms leave writes behind in freed memory under Wine.
bool EchoIsAnswered(std::int32_t address) {
  const UniqueIcmpHandle icmp(IcmpCreateFile());
  if (!icmp) return false;
  IcmpEchoReply reply{};
  const DWORD replies =
      IcmpSendEcho(icmp.Get(), static_cast<IPAddr>(address), kRequestData, kRequestSize, nullptr,
                   &reply, kReplySize, kTimeoutMilliseconds);
  // Only an echo reply is an answer: an ICMP error such as host unreachable,
  // which a router sends for a server that is down, is stored as a reply too.
  return replies != 0 && reply.header.Status == IP_SUCCESS;
}

void CALLBACK SendOnPoolThread(PTP_CALLBACK_INSTANCE, void* context) {
  const std::unique_ptr<Echo> echo(static_cast<Echo*>(context));
  echo->ended(EchoIsAnswered(echo->address));
}

}  // namespace

bool SendEcho(std::int32_t address, EchoEnded ended) {
  auto echo = std::make_unique<Echo>(Echo{address, std::move(ended)});
  if (!TrySubmitThreadpoolCallback(SendOnPoolThread, echo.get(), nullptr)) return false;
  echo.release();  // the pool thread owns it now
  return true;
}

}  // namespace ping
