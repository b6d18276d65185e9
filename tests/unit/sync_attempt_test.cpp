#include "sync/sync_attempt.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "sync/address.h"

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
  system.sntpAskable = false;  // each failure ends the attempt at once
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

// The route: the echo, net.exe, and SNTP only where net.exe was started or
// tried and failed; the clock set from the answer only with the process's
// own right.
struct Route {
  SyncRoute route;
  bool startable;
  std::optional<ElevatedStart> prompt;  // how the consent prompt ends, if shown
  std::optional<std::uint32_t> exitCode;
  bool asksSntp, setsTheClock;
};

TEST_F(SyncAttemptTest, SntpIsAskedOnlyAfterNetFailedAndSetsOnlyWithTheOwnRight) {
  const sntp::Answer answered{sntp::AnswerEnd::Answered, -42};
  const Route routes[] = {
      {SyncRoute::Direct, true, std::nullopt, 0, false, false},
      {SyncRoute::Direct, true, std::nullopt, 2, true, true},
      {SyncRoute::Direct, false, std::nullopt, std::nullopt, true, true},
      {SyncRoute::Elevated, true, ElevatedStart::Started, 2, true, false},
      {SyncRoute::Elevated, true, ElevatedStart::Failed, std::nullopt, true, false},
      {SyncRoute::Elevated, true, ElevatedStart::Declined, std::nullopt, false, false},
      {SyncRoute::NoRight, true, std::nullopt, std::nullopt, false, false},
      {SyncRoute::NoRightButElevatable, true, std::nullopt, std::nullopt, false, false},
  };
  for (const Route& route : routes) {
    FakeSyncSystem fresh;
    fresh.startable = route.startable;
    SyncAttempt tried(fresh);
    std::optional<SyncOutcome> outcome = tried.Start(L"10.0.0.7", route.route);
    if (!outcome) outcome = tried.EchoEnded(fresh.LastEcho(ProbeFor::Sync), true);
    if (!outcome && route.prompt) outcome = tried.ConsentEnded(fresh.lastCommand, *route.prompt);
    if (!outcome && route.exitCode)
      outcome = tried.CommandEnded({fresh.lastCommand, *route.exitCode, L""});
    const auto index = &route - routes;
    EXPECT_EQ(fresh.sntpQuestions.size(), route.asksSntp ? 1u : 0u) << index;
    if (route.asksSntp) {
      EXPECT_EQ(fresh.sntpQuestions[0], *ping::DottedQuadToAddress(L"10.0.0.7")) << index;
      EXPECT_EQ(outcome, std::nullopt) << index;
      outcome = tried.SntpEnded(fresh.lastSntpQuestion, answered);
      ASSERT_TRUE(outcome->sntp) << index;
    }
    EXPECT_EQ(fresh.clockSets,
              route.setsTheClock ? std::vector<sntp::Offset>{-42} : std::vector<sntp::Offset>{})
        << index;
    EXPECT_EQ(IsSynced(*outcome), route.setsTheClock || route.exitCode == 0u) << index;
    EXPECT_FALSE(tried.IsRunning()) << index;
  }
}

// An SNTP end that is not the one waited for changes nothing; the one that
// is ends the attempt once.
TEST_F(SyncAttemptTest, OnlyTheSntpQuestionWaitedForEndsTheAttempt) {
  StartCommand();
  EXPECT_EQ(attempt.SntpEnded(system.lastSntpQuestion + 1, {}), std::nullopt);
  ASSERT_EQ(attempt.CommandEnded({system.lastCommand, 2, L""}), std::nullopt);
  const std::uint32_t question = system.lastSntpQuestion;
  EXPECT_EQ(attempt.SntpEnded(question + 1, {}), std::nullopt);
  EXPECT_EQ(attempt.SntpEnded(question, {})->sntp->answer.end, sntp::AnswerEnd::NoAnswer);
  EXPECT_EQ(attempt.SntpEnded(question, {sntp::AnswerEnd::Answered}), std::nullopt);
  EXPECT_TRUE(system.clockSets.empty());
}

}  // namespace
