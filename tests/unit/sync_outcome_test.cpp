#include "sync/sync_outcome.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kTime[] = L"14:05:09";

TEST(OutcomeReason, EachEndInWordsWithTheTimeOfTheAttempt) {
  const std::pair<SyncOutcome, const wchar_t*> cases[] = {
      {{SyncEnd::Synced}, L"上次同步 14:05:09：成功，本机时间已按服务器校准。"},
      {{SyncEnd::NoAnswer}, L"上次同步 14:05:09：失败，服务器没有应答，请检查地址和网络。"},
      {{SyncEnd::NoRight},
       L"上次同步 "
       L"14:05:09：失败，本程序没有更改系统时间的权限。请管理员授予此权限（见用户指南）。"},
      {{SyncEnd::NoRightButElevatable},
       L"上次同步 14:05:09：失败，本程序没有更改系统时间的权限。请点“立即同步”，在 Windows "
       L"询问时选“是”。"},
      {{SyncEnd::Declined},
       L"上次同步 14:05:09：失败，在 Windows 询问是否允许更改系统时间时选了“否”。"},
      {{SyncEnd::NotStarted}, L"上次同步 14:05:09：失败，无法启动 net time 命令。"},
      {{SyncEnd::TimedOut}, L"上次同步 14:05:09：失败，net time 命令 60 秒内没有结束，已被终止。"},
      {{SyncEnd::CommandFailed, 2, L"发生系统错误 1314。"},
       L"上次同步 14:05:09：失败，net time 命令出错（代码 2）：发生系统错误 1314。"},
      {{SyncEnd::CommandFailed, 2}, L"上次同步 14:05:09：失败，net time 命令出错（代码 2）。"},
  };
  for (const auto& [outcome, reason] : cases) {
    EXPECT_EQ(OutcomeReason(outcome, kTime), reason);
    EXPECT_EQ(OutcomeCaption(outcome, kTime),
              outcome.end == SyncEnd::Synced ? L"同步时间 14:05:09" : L"钟联错误");
  }
}

TEST(CommandOutcome, ExitCodeZeroIsSuccessAnyOtherKeepsTheLastLineWritten) {
  EXPECT_EQ(CommandOutcome(0, L"命令成功完成。\r\n").end, SyncEnd::Synced);
  struct Failed {
    std::uint32_t exitCode;
    const wchar_t *output, *line;
  };
  const Failed cases[] = {
      {2, L"发生系统错误 1314。\r\n\r\n客户端没有所需的特权。\r\n\r\n", L"客户端没有所需的特权。"},
      {1, L"  System error 53 has occurred.  ", L"System error 53 has occurred."},
      {0xC0000005u, L"first\nlast", L"last"},
      {2, L" \r\n\t\r\n", L""},
      {2, L"", L""},
  };
  for (const auto& [exitCode, output, line] : cases) {
    const SyncOutcome outcome = CommandOutcome(exitCode, output);
    EXPECT_EQ(outcome.end, SyncEnd::CommandFailed) << exitCode;
    EXPECT_EQ(outcome.exitCode, exitCode);
    EXPECT_EQ(outcome.lastLine, line);
  }
}

// Where net.exe failed and SNTP was asked: both on one line, the caption
// "同步时间" only when the answer set the clock.
TEST(OutcomeReason, NetTimeAndSntpOnOneLine) {
  const auto withSntp = [](sntp::Answer answer, ClockSetEnd set) {
    SyncOutcome outcome{SyncEnd::TimedOut};
    outcome.sntp = SntpFallback{std::move(answer), set};
    return outcome;
  };
  const ClockSetEnd notTried{ClockSet::NotOwnRight};
  const std::pair<SyncOutcome, const wchar_t*> cases[] = {
      {withSntp({sntp::AnswerEnd::Answered, -(std::int64_t{1} << 31)}, {ClockSet::Set}),
       L"net time 失败（60 秒内没有结束）；已按 SNTP 校时，本机时钟调整了 -0.500 秒。"},
      {withSntp({sntp::AnswerEnd::Answered}, {ClockSet::NoRight}),
       L"失败，net time 失败（60 秒内没有结束）；SNTP "
       L"有应答，但本程序无法启用更改系统时间的权限。"},
      {withSntp({sntp::AnswerEnd::Answered}, {ClockSet::Refused, 1314}),
       L"失败，net time 失败（60 秒内没有结束）；SNTP 有应答，但系统拒绝更改时间（错误 1314）。"},
      {withSntp({sntp::AnswerEnd::Malformed}, notTried),
       L"失败，net time 失败（60 秒内没有结束）；SNTP 也失败（应答不完整或格式不对）。"},
      {withSntp({sntp::AnswerEnd::WrongOrigin}, notTried),
       L"失败，net time 失败（60 秒内没有结束）；SNTP 也失败（应答与所发的请求不符）。"},
      {withSntp({sntp::AnswerEnd::WrongSource}, notTried),
       L"失败，net time 失败（60 秒内没有结束）；SNTP 也失败（应答不是来自服务器的 123 端口）。"},
      {withSntp({sntp::AnswerEnd::Unsynchronised}, notTried),
       L"失败，net time 失败（60 秒内没有结束）；SNTP 也失败（服务器自己的时钟尚未同步）。"},
  };
  for (const auto& [outcome, explanation] : cases) {
    EXPECT_EQ(OutcomeReason(outcome, kTime), std::wstring(L"上次同步 14:05:09：") + explanation);
    EXPECT_EQ(OutcomeCaption(outcome, kTime),
              outcome.sntp->set.result == ClockSet::Set ? L"同步时间 14:05:09" : L"钟联错误");
  }
}

}  // namespace
