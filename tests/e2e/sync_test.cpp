// "立即同步": the probe first, then the system's net.exe, hidden, and the
// caption from how that command ended.

#include <algorithm>
#include <chrono>

#include "product.h"
#include "sync/sync_command.h"
#include "sync/sync_outcome.h"
#include "ui/captions.h"

namespace e2e {
namespace {

bool IsSyncedCaption(const std::wstring& caption) {
  return IsTimeCaption(caption, OutcomeCaption(SyncOutcome(SyncEnd::Synced), L""));
}

class SyncTest : public ProductTest {
 protected:
  // Presses "立即同步"; returns after the program has handled the click.
  void PressSyncNow() const { Click(ControlOf(idCommand2)); }

  // A sync whose net.exe hangs until netHold_ is deleted.
  void StartAHungCommand() {
    ASSERT_TRUE(WriteFileBytes(netHold_, ""));
    Start();
    WaitUntilShown();
    TypeAddress(L"127.0.0.1");
    PressSyncNow();
    ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
  }

  // A press against a server that answers must start exactly one command:
  // when only that one is logged, no earlier press started any.
  void ExpectOnlyTheAnsweringServerWasSynced() const {
    TypeAddress(L"127.0.0.1");
    PressSyncNow();
    ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
    const auto calls = NetCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].cmd, L"net time \\\\127.0.0.1 /set /yes");
  }
};

TEST_F(SyncTest, AnsweringServerRunsTheSystemNetAndReportsTheTime) {
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return IsSyncedCaption(TextOf(id网络时间)); }))
      << ToCodePage(TextOf(id网络时间), CP_UTF8);
  const auto calls = NetCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].cmd, L"net time \\\\127.0.0.1 /set /yes");
  EXPECT_TRUE(EqualsIgnoreCase(calls[0].exe, systemNet_)) << ToCodePage(calls[0].exe, CP_UTF8);
}

TEST_F(SyncTest, FailingCommandIsReportedAsAnError) {
  netExitCode_ = L"2";
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  EXPECT_TRUE(WaitForText(id网络时间, kSyncFailedCaption));
  EXPECT_EQ(NetCalls().size(), 1u);
}

TEST_F(SyncTest, SilentServerStartsNothingAndReportsAnError) {
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.9");
  PressSyncNow();
  // While the silent server's echo is out, a press for an answering one
  // starts nothing either.
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  EXPECT_TRUE(WaitForText(id网络时间, kSyncFailedCaption));
  ExpectOnlyTheAnsweringServerWasSynced();
}

class SyncRefusedTest : public SyncTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SyncRefusedTest, StartsNothingAndReportsAnError) {
  Start();
  WaitUntilShown();
  TypeAddress(GetParam());
  PressSyncNow();
  EXPECT_TRUE(WaitForText(id网络时间, kSyncFailedCaption));
  ExpectOnlyTheAnsweringServerWasSynced();
}

// Empty text; five parts; a host that is down behind a router, whose ICMP
// error is stored as a reply but is no answer.
INSTANTIATE_TEST_SUITE_P(Addresses, SyncRefusedTest,
                         ::testing::Values(L"", L"192.168.1.1.5", L"127.0.0.10"));

// After a sync that worked (net.exe exits 0) and one that failed (2), the box
// takes a new address, and the next sync runs against it.
class SyncThenNewAddressTest : public SyncTest,
                               public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SyncThenNewAddressTest, TheNewAddressIsTakenAndUsed) {
  netExitCode_ = GetParam();
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return NetCalls().size() == 1; }));
  // A user types a moment later, when the attempt (with the SNTP question
  // that follows a failed command, a second) and more status echoes have
  // ended, a character at a time. Nothing is asked of the window meanwhile:
  // each question makes it allocate, which could hide a damaged heap.
  Sleep(2500);
  const std::wstring address = L"127.100.200.2";
  for (std::size_t typed = 1; typed <= address.size(); ++typed)
    TypeAddress(address.substr(0, typed));
  EXPECT_EQ(TextOf(id服务器路径), address);
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return NetCalls().size() == 2; }));
  EXPECT_EQ(NetCalls()[1].cmd, L"net time \\\\127.100.200.2 /set /yes");
}

INSTANTIATE_TEST_SUITE_P(ExitCodes, SyncThenNewAddressTest, ::testing::Values(L"0", L"2"));

TEST_F(SyncTest, ANetExeBesideTheProgramIsNotTheOneThatRuns) {
  ASSERT_FALSE(CopyInto(BinFile(L"net.exe"), dir_).empty());
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
  const auto calls = NetCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(EqualsIgnoreCase(calls[0].exe, systemNet_)) << ToCodePage(calls[0].exe, CP_UTF8);
}

TEST_F(SyncTest, PressesWhileAnAttemptWaitsStartNothing) {
  // Long enough for a command that a later press started to be logged
  // before the first one ends.
  netSleepMilliseconds_ = L"3000";
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
  PressSyncNow();
  ASSERT_TRUE(WaitFor([&] { return IsSyncedCaption(TextOf(id网络时间)); }))
      << ToCodePage(TextOf(id网络时间), CP_UTF8);
  EXPECT_EQ(NetCalls().size(), 1u);
}

// More than the pipe to the program holds, then a failure: the command must
// not wait for the program to read, nor be taken for one that hung.
TEST_F(SyncTest, ACommandThatWritesMuchEndsWithItsOwnReason) {
  netExitCode_ = L"2";
  netFillerBytes_ = std::to_wstring(100 * 1024);
  netOutput_ = L"发生系统错误 53。\r\n\r\n找不到网络路径。\r\n";
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  std::wstring reason;
  ASSERT_TRUE(WaitFor([&] { return !(reason = TooltipOf(id网络时间)).empty(); }));
  EXPECT_TRUE(IsReason(
      reason, L"失败，net time 失败（代码 2：找不到网络路径。）；SNTP 也失败（服务器没有应答）。"))
      << ToCodePage(reason, CP_UTF8);
}

// net.exe reports success and ends at once, but a process it started holds
// the pipe for longer than the time limit: its exit code tells, long before
// that limit, and what it left is ended.
TEST_F(SyncTest, ACommandWhoseHeirHoldsThePipeIsReportedByItsExitCode) {
  constexpr int kFarWithinTheTimeLimitMs = 15000;
  netHeirMilliseconds_ = L"120000";
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  PressSyncNow();
  EXPECT_TRUE(
      WaitFor([&] { return IsSyncedCaption(TextOf(id网络时间)); }, kFarWithinTheTimeLimitMs))
      << ToCodePage(TextOf(id网络时间), CP_UTF8);
  EXPECT_TRUE(WaitFor([] { return ProcessIdsByExeName(L"net.exe").empty(); }));
}

TEST_F(SyncTest, ClosingTheProgramEndsAHungCommand) {
  ASSERT_NO_FATAL_FAILURE(StartAHungCommand());
  CloseAndWait();
  EXPECT_TRUE(WaitFor([] { return ProcessIdsByExeName(L"net.exe").empty(); }));
}

TEST_F(SyncTest, AHungCommandIsEndedAtTheTimeLimitAndTheNextOneRuns) {
  ASSERT_NO_FATAL_FAILURE(StartAHungCommand());
  // Where the program usually waits: in the tray, whose tip tells why too.
  Click(ControlOf(idCommand1));
  const int limit = static_cast<int>(std::chrono::milliseconds(kSyncCommandTimeLimit).count());
  EXPECT_TRUE(
      WaitFor([&] { return TextOf(id网络时间) == kSyncFailedCaption; }, limit + kDefaultTimeoutMs))
      << ToCodePage(TextOf(id网络时间), CP_UTF8) << " / "
      << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
  EXPECT_TRUE(WaitFor([] { return ProcessIdsByExeName(L"net.exe").empty(); }));
  const std::wstring reason = TooltipOf(id网络时间);
  EXPECT_TRUE(
      IsReason(reason, L"失败，net time 失败（60 秒内没有结束）；SNTP 也失败（服务器没有应答）。"))
      << ToCodePage(reason, CP_UTF8);
  const auto tips = TrayTips();
  EXPECT_NE(std::find(tips.begin(), tips.end(), std::wstring(kTrayTip) + L"\n" + reason),
            tips.end());

  ASSERT_TRUE(DeleteFileW(netHold_.c_str()));
  PressSyncNow();
  EXPECT_TRUE(WaitFor([&] { return IsSyncedCaption(TextOf(id网络时间)); }))
      << ToCodePage(TextOf(id网络时间), CP_UTF8);
  EXPECT_EQ(NetCalls().size(), 2u);
}

}  // namespace
}  // namespace e2e
