#include "sync/sync_attempt.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using std::chrono::seconds;

class SyncAttemptTest : public testing::Test {
 protected:
  // Against a server that answers: the command starts.
  void StartCommand() {
    ASSERT_EQ(attempt.Start(L"127.0.0.1", SyncRoute::Direct), std::nullopt);
    ASSERT_EQ(attempt.EchoEnded(system.LastEcho(ProbeFor::Sync), true), std::nullopt);
  }

  FakeSyncSystem system;
  SyncAttempt attempt{system};
};

// Ends that come after the attempt stopped waiting for them belong to no
// attempt, however late they come: neither the next one's echo nor its
// command may be taken for them.
TEST_F(SyncAttemptTest, AnEchoGivenUpEndsNoLaterAttempt) {
  ASSERT_EQ(attempt.Start(L"127.0.0.1", SyncRoute::Direct), std::nullopt);
  const EchoTicket givenUp = system.LastEcho(ProbeFor::Sync);
  system.now += seconds(1);
  EXPECT_EQ(attempt.SecondPassed()->end, SyncEnd::NoAnswer);

  ASSERT_EQ(attempt.Start(L"127.0.0.1", SyncRoute::Direct), std::nullopt);
  EXPECT_EQ(attempt.EchoEnded(givenUp, true), std::nullopt);
  EXPECT_TRUE(system.startedCommands.empty());
  EXPECT_EQ(attempt.EchoEnded(system.LastEcho(ProbeFor::Sync), false)->end, SyncEnd::NoAnswer);
}

TEST_F(SyncAttemptTest, TheEndOfACommandEndedAtItsLimitEndsNoLaterAttempt) {
  StartCommand();
  const std::uint32_t hung = system.lastCommand;
  system.now += kSyncCommandTimeLimit;
  EXPECT_EQ(attempt.SecondPassed()->end, SyncEnd::TimedOut);
  EXPECT_EQ(system.endedCommands, 1);
  EXPECT_EQ(attempt.CommandEnded({hung, 0, L""}), std::nullopt);

  StartCommand();
  EXPECT_EQ(attempt.CommandEnded({hung, 0, L""}), std::nullopt);
  EXPECT_TRUE(attempt.IsRunning());
  EXPECT_EQ(attempt.CommandEnded({system.lastCommand, 2, L""})->end, SyncEnd::CommandFailed);
  EXPECT_FALSE(attempt.IsRunning());
}

// The user may take minutes over the prompt: meanwhile ticks, clicks and
// the echo's end again change nothing, and its answer ends the attempt once.
TEST_F(SyncAttemptTest, AnAttemptWaitingForConsentEndsOnceWhenTheUserAnswers) {
  ASSERT_EQ(attempt.Start(L"127.0.0.1", SyncRoute::Elevated), std::nullopt);
  const EchoTicket echo = system.LastEcho(ProbeFor::Sync);
  ASSERT_EQ(attempt.EchoEnded(echo, true), std::nullopt);
  ASSERT_EQ(system.elevatedArguments.size(), 1u);
  for (int second = 0; second < 300; ++second) {
    system.now += seconds(1);
    EXPECT_EQ(attempt.SecondPassed(), std::nullopt);
  }
  EXPECT_EQ(attempt.EchoEnded(echo, false), std::nullopt);
  EXPECT_EQ(attempt.Start(L"127.0.0.1", SyncRoute::Elevated), std::nullopt);
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 1u);
  EXPECT_EQ(system.endedCommands, 0);

  EXPECT_EQ(attempt.ConsentEnded(system.lastCommand, ElevatedStart::Declined)->end,
            SyncEnd::Declined);
  EXPECT_EQ(attempt.ConsentEnded(system.lastCommand, ElevatedStart::Started), std::nullopt);
  EXPECT_FALSE(attempt.IsRunning());
}

}  // namespace
