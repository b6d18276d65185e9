// The program's own echo, run under Wine's heap checker (scripts/heap-checked.sh):
// many echoes, a status and a sync echo out at once as the window sends them,
// must leave no write behind in freed memory.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>

#include "sync/address.h"
#include "sync/probe_win32.h"
#include "win32/unique_handle.h"

namespace {

bool HeapIsSound() { return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE; }

// Shared with the pool's callback: a test that gives up early (a failed
// assertion) must not leave an echo writing into its ended frame.
struct EchoEnd {
  UniqueKernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> answered{false};
};

bool Send(const wchar_t* address, const std::shared_ptr<EchoEnd>& end) {
  return ping::SendEcho(*ping::DottedQuadToAddress(address), [end](bool answered) {
    end->answered = answered;
    SetEvent(end->event.Get());
  });
}

// An answering server, a silent one, one whose router reports it down, and
// an address without a route.
TEST(EchoHeapTest, OverlappingEchoesLeaveTheHeapSoundAndOnlyAnEchoReplyCounts) {
  const std::pair<const wchar_t*, bool> servers[] = {
      {L"127.0.0.1", true}, {L"127.0.0.9", false}, {L"127.0.0.10", false}, {L"192.168.1.1", false}};
  for (const auto& [address, answers] : servers) {
    for (int round = 0; round < 8; ++round) {
      const auto status = std::make_shared<EchoEnd>(), sync = std::make_shared<EchoEnd>();
      ASSERT_TRUE(Send(address, status));
      ASSERT_TRUE(Send(address, sync));
      for (const auto& end : {status, sync}) {
        ASSERT_EQ(WaitForSingleObject(end->event.Get(), 5000), WAIT_OBJECT_0) << address;
        EXPECT_EQ(end->answered, answers) << address;
        ASSERT_TRUE(HeapIsSound()) << address << ", round " << round;
      }
    }
  }
  Sleep(100);  // the pool threads let their echoes go after the last end
  EXPECT_TRUE(HeapIsSound());
}

}  // namespace
