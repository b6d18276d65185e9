// winsock2.h must come before windows.h, which the header brings along.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include "sync/probe_win32.h"

namespace ping {
namespace {

// IcmpCreateFile reports failure with INVALID_HANDLE_VALUE.
using UniqueIcmpHandle = UniqueHandle<HANDLE, &::IcmpCloseHandle, InvalidHandleValueIsNone>;

// The reply buffer: the 32-bit echo reply header and room for the data.
struct IcmpEchoReply {
  ICMP_ECHO_REPLY header;
  char data[250];
};
// The size handed over is the header and data without the padding the
// struct gets to a multiple of four bytes.
constexpr DWORD kReplySize = sizeof(ICMP_ECHO_REPLY) + sizeof(IcmpEchoReply::data);
constexpr DWORD kTimeoutMilliseconds = 200;
// An echo has ended by its time-out; this leaves the system ample room.
constexpr DWORD kLongestEchoMilliseconds = 5 * kTimeoutMilliseconds;
char kRequestData[] = "Echo This";
constexpr WORD kRequestSize = sizeof kRequestData - 1;

}  // namespace

struct EchoProbe::Echo {
  // Only an echo reply is an answer: an ICMP error such as host unreachable,
  // which a router sends for a server that is down, is stored as a reply too.
  bool IsAnswer(DWORD replies) const { return replies != 0 && reply.header.Status == IP_SUCCESS; }

  // Declared first, so that the handle, which may still write into it, is
  // closed before it goes.
  IcmpEchoReply reply{};
  UniqueIcmpHandle icmp{IcmpCreateFile()};
};

EchoProbe::EchoProbe() : completed_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

// The echo call writes into the reply buffer until the echo has ended.
EchoProbe::~EchoProbe() {
  if (const HANDLE pending = Completion()) WaitForSingleObject(pending, kLongestEchoMilliseconds);
}

void EchoProbe::Send(std::int32_t address) {
  endedAtOnce_ = false;
  // Without an event the echo call would wait for the answer.
  if (!completed_ || !ResetEvent(completed_.Get())) {
    echo_.reset();
    return;
  }
  echo_ = std::make_unique<Echo>();
  if (!echo_->icmp) return;
  const DWORD replies = IcmpSendEcho2(echo_->icmp.Get(), completed_.Get(), nullptr, nullptr,
                                      static_cast<IPAddr>(address), kRequestData, kRequestSize,
                                      nullptr, &echo_->reply, kReplySize, kTimeoutMilliseconds);
  if (replies == 0 && GetLastError() == ERROR_IO_PENDING)
    endedAtOnce_.reset();
  else
    endedAtOnce_ = echo_->IsAnswer(replies);
}

std::optional<bool> EchoProbe::TakeAnswer() {
  if (!endedAtOnce_ && (!echo_ || WaitForSingleObject(completed_.Get(), 0) != WAIT_OBJECT_0))
    return std::nullopt;
  const bool answered =
      endedAtOnce_ ? *endedAtOnce_ : echo_->IsAnswer(IcmpParseReplies(&echo_->reply, kReplySize));
  echo_.reset();
  endedAtOnce_.reset();
  return answered;
}

}  // namespace ping
