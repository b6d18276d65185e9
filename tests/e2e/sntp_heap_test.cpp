// The program's SNTP question, run under Wine's heap checker
// (scripts/heap-checked.sh): questions out at once, to a server that
// answers, one that is silent and one that answers from another port, must
// leave no write behind in freed memory, and each must end with its reason
// within about a second. The servers are sockets of this test on
// 127.0.0.1.

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "sync/sntp_win32.h"
#include "win32/unique_handle.h"

namespace {

bool HeapIsSound() { return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE; }

constexpr std::int32_t kLoopback = 0x0100007F;  // 127.0.0.1 in network byte order
constexpr sntp::Offset kOneSecond = sntp::Offset{1} << 32;

SOCKET BoundUdpSocket() {
  const SOCKET bound = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = static_cast<u_long>(kLoopback);
  bind(bound, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return bound;
}

std::uint16_t PortOf(SOCKET bound) {
  sockaddr_in address{};
  int size = sizeof address;
  getsockname(bound, reinterpret_cast<sockaddr*>(&address), &size);
  return ntohs(address.sin_port);
}

// A server whose clock is a second ahead of this one's, on a port of its own.
class Server {
 public:
  enum class Kind { Answering, Silent, AnsweringFromAnotherPort };

  explicit Server(Kind kind) : kind_(kind), socket_(BoundUdpSocket()), other_(BoundUdpSocket()) {
    thread_ = std::thread([this] { Serve(); });
  }
  ~Server() {
    closesocket(socket_);  // ends the receive that the thread waits in
    thread_.join();
    closesocket(other_);
  }
  std::uint16_t Port() const { return PortOf(socket_); }

 private:
  void Serve() const {
    unsigned char packet[48];
    sockaddr_in client{};
    int size = sizeof client;
    while (recvfrom(socket_, reinterpret_cast<char*>(packet), sizeof packet, 0,
                    reinterpret_cast<sockaddr*>(&client), &size) == sizeof packet) {
      if (kind_ == Kind::Silent) continue;
      const std::uint64_t sent = Read(packet + 40);
      packet[0] = 0x24;  // leap 0, version 4, server
      packet[1] = 2;     // stratum
      Write(packet + 24, sent);
      Write(packet + 32, sent + kOneSecond);
      Write(packet + 40, sent + kOneSecond);
      const SOCKET from = kind_ == Kind::Answering ? socket_ : other_;
      sendto(from, reinterpret_cast<const char*>(packet), sizeof packet, 0,
             reinterpret_cast<const sockaddr*>(&client), size);
    }
  }

  static std::uint64_t Read(const unsigned char* at) {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = value << 8 | at[i];
    return value;
  }
  static void Write(unsigned char* at, std::uint64_t value) {
    for (int i = 7; i >= 0; --i, value >>= 8) at[i] = static_cast<unsigned char>(value);
  }

  Kind kind_;
  SOCKET socket_, other_;
  std::thread thread_;
};

// Shared with the pool's callback: a test that gives up early must not
// leave a question writing into its ended frame.
struct End {
  UniqueKernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  sntp::Answer answer;
};

bool Ask(std::uint16_t port, const std::shared_ptr<End>& end) {
  return sntp::AskOnPool(kLoopback, port, [end](const sntp::Answer& answer) {
    end->answer = answer;
    SetEvent(end->event.Get());
  });
}

class SntpHeapTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock_), 0); }
  void TearDown() override { WSACleanup(); }
  WSADATA winsock_{};
};

TEST_F(SntpHeapTest, OverlappingQuestionsLeaveTheHeapSoundAndEndWithTheirReason) {
  const Server answering(Server::Kind::Answering), silent(Server::Kind::Silent),
      elsewhere(Server::Kind::AnsweringFromAnotherPort);
  const std::pair<const Server*, sntp::AnswerEnd> servers[] = {
      {&answering, sntp::AnswerEnd::Answered},
      {&silent, sntp::AnswerEnd::NoAnswer},
      {&elsewhere, sntp::AnswerEnd::WrongSource}};
  for (int round = 0; round < 4; ++round) {
    std::vector<std::shared_ptr<End>> ends;
    for (const auto& [server, expected] : servers)
      for (int twice = 0; twice < 2; ++twice) {
        ends.push_back(std::make_shared<End>());
        ASSERT_TRUE(Ask(server->Port(), ends.back()));
      }
    for (std::size_t i = 0; i < ends.size(); ++i) {
      const auto& [server, expected] = servers[i / 2];
      ASSERT_EQ(WaitForSingleObject(ends[i]->event.Get(), 3000), WAIT_OBJECT_0) << i;
      EXPECT_EQ(ends[i]->answer.end, expected) << i;
      if (expected == sntp::AnswerEnd::Answered) {
        EXPECT_GT(ends[i]->answer.offset, kOneSecond - kOneSecond / 10) << i;
        EXPECT_LT(ends[i]->answer.offset, kOneSecond + kOneSecond / 10) << i;
      }
      ASSERT_TRUE(HeapIsSound()) << "round " << round << ", question " << i;
    }
  }
  Sleep(100);  // the pool threads let their questions go after the last end
  EXPECT_TRUE(HeapIsSound());
}

}  // namespace
