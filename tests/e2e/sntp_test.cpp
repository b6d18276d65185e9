// Where net time cannot set the clock, the program sets it from the same
// server over SNTP: from chronyd on 127.0.0.123, and not from the scripted
// servers that break one rule each, nor from one that is silent; all of them
// scripts/sntp-servers.sh starts around the test command. The product run here is the build whose
// clock set is recorded beside the exe instead of made (recorded_utc_clock.cpp): Wine refuses any
// change of more than about half a second and is not known to move this machine's clock, but no
// test may rely on that.

#include <cwchar>
#include <iostream>
#include <sstream>

#include "product.h"
#include "support/fake_net_protocol.h"
#include "tests/bad_sntp_servers.h"
#include "sync/sntp_win32.h"
#include "sync/sync_command.h"
#include "sync/sync_outcome.h"
#include "ui/captions.h"

namespace e2e {
namespace {

constexpr wchar_t kChronyd[] = L"127.0.0.123";
constexpr std::int32_t kChronydAddress = 0x7B00007F;  // in network byte order
constexpr wchar_t kNetLastLine[] = L"客户端没有所需的特权。";

// What the tooltip says after "上次同步 <time>：", read from the program's
// own words for the outcome.
std::wstring Explanation(const SyncOutcome& outcome) {
  const std::wstring reason = OutcomeReason(outcome, L"");
  return reason.substr(reason.find(L'：') + 1);
}

SyncOutcome NetFailedThenSntp(sntp::Answer answer, ClockSetEnd set) {
  SyncOutcome outcome{SyncEnd::CommandFailed, 2, kNetLastLine};
  outcome.sntp = SntpFallback{std::move(answer), set};
  return outcome;
}

const std::wstring kSyncedPrefix = OutcomeCaption(SyncOutcome(SyncEnd::Synced), L"");

// The offset a successful reason names: within a second of nothing, as
// chronyd keeps this machine's own clock.
std::optional<sntp::Offset> SntpOffsetIn(const std::wstring& reason) {
  const std::wstring marker = L"调整了 ";
  const std::size_t at = reason.find(marker);
  if (at == std::wstring::npos) return std::nullopt;
  const double seconds = std::wcstod(reason.c_str() + at + marker.size(), nullptr);
  return static_cast<sntp::Offset>(seconds * 4294967296.0);
}

// A time of the recorded clock set, "YYYY-MM-DD hh:mm:ss.mmm", to the now of
// this machine, in seconds.
double SecondsFromNow(const std::string& line) {
  SYSTEMTIME set{};
  if (std::sscanf(line.c_str(), "%4hu-%2hu-%2hu %2hu:%2hu:%2hu.%3hu", &set.wYear, &set.wMonth,
                  &set.wDay, &set.wHour, &set.wMinute, &set.wSecond, &set.wMilliseconds) != 7)
    return 1e9;
  FILETIME setTime, now;
  SystemTimeToFileTime(&set, &setTime);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<double>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
  };
  return (ticks(setTime) - ticks(now)) / 1e7;
}

class SntpTest : public ProductTest {
 protected:
  void SetUp() override {
    ProductTest::SetUp();
    productFile_ = kRecordedClockProduct;
    netExitCode_ = L"2";
    netOutput_ = std::wstring(L"发生系统错误 1314。\r\n\r\n") + kNetLastLine + L"\r\n";
  }

  std::vector<std::string> ClockSets() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadFileBytes(dir_ + L"\\" + kRecordedClockFile).value_or(""));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  // Once the attempt has ended: its caption, and its reason as it shows.
  std::wstring ReasonOnceEnded() const {
    std::wstring reason;
    EXPECT_TRUE(WaitFor([&] {
      const std::wstring caption = TextOf(id网络时间);
      if (caption != kSyncFailedCaption && !IsTimeCaption(caption, kSyncedPrefix)) return false;
      reason = TooltipOf(id网络时间);
      return !reason.empty();
    }));
    std::cout << "  [reason] " << ToCodePage(TextOf(id网络时间), CP_UTF8) << " / "
              << ToCodePage(reason, CP_UTF8) << "\n";
    return reason;
  }

  // The caption "同步时间 ", the reason with the route and the correction,
  // and the time set: within a second of this machine's, as chronyd has it.
  void ExpectSetFromChronyd(std::size_t sets) const {
    const std::wstring reason = ReasonOnceEnded();
    EXPECT_TRUE(IsTimeCaption(TextOf(id网络时间), kSyncedPrefix));
    const auto offset = SntpOffsetIn(reason);
    ASSERT_TRUE(offset) << ToCodePage(reason, CP_UTF8);
    EXPECT_TRUE(IsReason(reason, Explanation(NetFailedThenSntp({sntp::AnswerEnd::Answered, *offset},
                                                               {ClockSet::Set}))))
        << ToCodePage(reason, CP_UTF8);
    EXPECT_LT(std::abs(static_cast<double>(*offset)), 4294967296.0);
    const auto lines = ClockSets();
    ASSERT_EQ(lines.size(), sets);
    EXPECT_LT(std::abs(SecondsFromNow(lines.back())), 5.0) << lines.back();
  }
};

bool ChronydAnswers() {
  const UniqueKernelHandle ended(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto answer = std::make_shared<sntp::Answer>();
  const HANDLE event = ended.Get();
  if (!sntp::AskOnPool(kChronydAddress, sntp::kServerPort, [answer, event](const sntp::Answer& a) {
        *answer = a;
        SetEvent(event);
      }))
    return false;
  return WaitForSingleObject(event, 5000) == WAIT_OBJECT_0 &&
         answer->end == sntp::AnswerEnd::Answered;
}

TEST_F(SntpTest, ClickAndScheduleSetTheClockFromChronydWhereNetTimeFails) {
  ASSERT_TRUE(ChronydAnswers()) << "no NTP server on 127.0.0.123: run the end-to-end tests "
                                   "through scripts/sntp-servers.sh";
  Start();
  WaitUntilShown();
  TypeAddress(kChronyd);
  Click(ControlOf(idCommand2));
  ASSERT_NO_FATAL_FAILURE(ExpectSetFromChronyd(1));

  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 1);
  TickTimer2(60);
  ASSERT_TRUE(WaitFor([&] { return NetCalls().size() == 2; }));
  ASSERT_NO_FATAL_FAILURE(ExpectSetFromChronyd(2));
  for (const FakeNetCall& call : NetCalls())
    EXPECT_EQ(call.cmd, L"net time \\\\127.0.0.123 /set /yes");
}

// Where, and what the program makes of its answer.
struct BadServer {
  std::wstring address;
  sntp::Answer answer;
};

class BadSntpServerTest : public SntpTest, public ::testing::WithParamInterface<BadServer> {};

// Nothing is set, the caption reads "钟联错误" and the reason names both
// failures.
TEST_P(BadSntpServerTest, SetsNothingAndNamesItsReason) {
  Start();
  WaitUntilShown();
  TypeAddress(GetParam().address);
  Click(ControlOf(idCommand2));
  const std::wstring reason = ReasonOnceEnded();
  EXPECT_EQ(TextOf(id网络时间), kSyncFailedCaption);
  EXPECT_TRUE(
      IsReason(reason, Explanation(NetFailedThenSntp(GetParam().answer, {ClockSet::NotOwnRight}))))
      << ToCodePage(reason, CP_UTF8);
  EXPECT_TRUE(ClockSets().empty());
}

sntp::Answer WhatIsMadeOf(bad_sntp::Way way) {
  switch (way) {
    case bad_sntp::Way::WrongOrigin: return {sntp::AnswerEnd::WrongOrigin};
    case bad_sntp::Way::KissOfDeath: return {sntp::AnswerEnd::KissOfDeath, 0, bad_sntp::kKissCode};
    case bad_sntp::Way::LeapThree: return {sntp::AnswerEnd::Unsynchronised};
    case bad_sntp::Way::Short: return {sntp::AnswerEnd::Malformed};
    case bad_sntp::Way::OtherPort: break;
  }
  return {sntp::AnswerEnd::WrongSource};
}

std::vector<BadServer> BadServers() {
  std::vector<BadServer> servers;
  for (const auto& [way, address] : bad_sntp::kServers)
    servers.push_back({FromCodePage(address, CP_UTF8), WhatIsMadeOf(way)});
  // The sandbox drops SNTP to this address, whose echo answers.
  servers.push_back({L"127.0.0.11", {sntp::AnswerEnd::NoAnswer}});
  return servers;
}

INSTANTIATE_TEST_SUITE_P(Answers, BadSntpServerTest, ::testing::ValuesIn(BadServers()));

}  // namespace
}  // namespace e2e
