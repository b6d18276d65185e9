#include "sync/probe_win32.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include "sync/address.h"
#include "win32/unique_handle.h"

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
char kRequestData[] = "Echo This";
constexpr WORD kRequestSize = sizeof kRequestData - 1;

}  // namespace

bool ProbeHost(const std::wstring& addressText) {
  const auto address = DottedQuadToAddress(addressText);
  if (!address) return false;

  const UniqueIcmpHandle icmp(IcmpCreateFile());
  if (!icmp) return false;
  IcmpEchoReply reply{};
  const DWORD replies =
      IcmpSendEcho(icmp.Get(), static_cast<IPAddr>(*address), kRequestData, kRequestSize, nullptr,
                   &reply, kReplySize, kTimeoutMilliseconds);
  return replies != 0 && reply.header.Status == IP_SUCCESS;
}

}  // namespace ping
