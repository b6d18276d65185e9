#include "sync/sync_attempt.h"

#include "sync/address.h"

namespace {
// The question waits about a second for its answer; one whose end has not
// come after two never will.
constexpr std::chrono::seconds kSntpGivenUpAfter{2};
}  // namespace

std::optional<SyncOutcome> SyncAttempt::Start(const std::wstring& addressText, SyncRoute route) {
  if (IsRunning()) return std::nullopt;
  address_ = addressText;
  route_ = route;
  if (!echo_.Send(system_, address_)) return SyncOutcome{SyncEnd::NoAnswer};
  step_ = Step::Probing;
  return std::nullopt;
}

std::optional<SyncOutcome> SyncAttempt::EchoEnded(EchoTicket echo, bool answered) {
  if (step_ != Step::Probing || !echo_.Take(echo)) return std::nullopt;
  return Probed(answered);
}

std::optional<SyncOutcome> SyncAttempt::ConsentEnded(std::uint32_t command, ElevatedStart start) {
  if (step_ != Step::AskingConsent || command != commandsStarted_) return std::nullopt;
  switch (start) {
    case ElevatedStart::Started: Started(); return std::nullopt;
    case ElevatedStart::Declined: return End({SyncEnd::Declined});
    case ElevatedStart::Failed: break;
  }
  return NetEnded({SyncEnd::NotStarted});
}

// A command may end before the prompt's own end is heard of.
std::optional<SyncOutcome> SyncAttempt::CommandEnded(const CommandEnd& ended) {
  const bool waited = step_ == Step::Running || step_ == Step::AskingConsent;
  // The end of a command ended at its limit, which changes nothing now.
  if (!waited || ended.command != commandsStarted_) return std::nullopt;
  return NetEnded(CommandOutcome(ended.exitCode, ended.output));
}

// Only this process's own right may set the clock from the answer: a right
// net.exe got through the prompt is not asked for a second time.
std::optional<SyncOutcome> SyncAttempt::SntpEnded(std::uint32_t question,
                                                  const sntp::Answer& answer) {
  if (step_ != Step::AskingSntp || question != sntpQuestions_) return std::nullopt;
  SyncOutcome outcome = *netFailure_;
  outcome.sntp = SntpFallback{answer};
  if (answer.end == sntp::AnswerEnd::Answered && route_ == SyncRoute::Direct)
    outcome.sntp->set = system_.SetClockBy(answer.offset);
  return End(outcome);
}

std::optional<SyncOutcome> SyncAttempt::SecondPassed() {
  const auto now = system_.SteadyNow();
  if (step_ == Step::Probing && echo_.IsOverdue(now)) {
    echo_.GiveUp();
    return Probed(false);
  }
  if (step_ == Step::Running && now - commandStartedAt_ >= kSyncCommandTimeLimit) {
    system_.EndSyncCommand();
    return NetEnded({SyncEnd::TimedOut});
  }
  if (step_ == Step::AskingSntp && now - sntpAskedAt_ >= kSntpGivenUpAfter)
    return SntpEnded(sntpQuestions_, {sntp::AnswerEnd::NoAnswer});
  return std::nullopt;
}

std::optional<SyncOutcome> SyncAttempt::Probed(bool answered) {
  if (!answered) return End({SyncEnd::NoAnswer});
  if (const auto notStarted = StartCommand()) return NetEnded(*notStarted);
  return std::nullopt;
}

// Where net.exe could not be started, failed or hung, the server that
// answered the echo is asked over SNTP. Without any right, or on the
// user's "no", there is nothing to ask it for.
std::optional<SyncOutcome> SyncAttempt::NetEnded(const SyncOutcome& outcome) {
  const bool fallsBack = outcome.end == SyncEnd::NotStarted || outcome.end == SyncEnd::TimedOut ||
                         outcome.end == SyncEnd::CommandFailed;
  if (!fallsBack) return End(outcome);
  netFailure_ = outcome;
  step_ = Step::AskingSntp;
  sntpAskedAt_ = system_.SteadyNow();
  if (!system_.AskSntp(++sntpQuestions_, *ping::DottedQuadToAddress(address_)))
    return SntpEnded(sntpQuestions_, {sntp::AnswerEnd::NoAnswer});
  return std::nullopt;
}

// The caption for a started command waits until the command has ended.
void SyncAttempt::Started() {
  step_ = Step::Running;
  commandStartedAt_ = system_.SteadyNow();
}

// Nothing once the command runs or the prompt is up; else why not.
std::optional<SyncOutcome> SyncAttempt::StartCommand() {
  const std::uint32_t command = ++commandsStarted_;
  switch (route_) {
    case SyncRoute::Direct:
      if (!system_.StartSyncCommand(command, BuildSyncCommandLine(address_)))
        return SyncOutcome{SyncEnd::NotStarted};
      Started();
      return std::nullopt;
    case SyncRoute::Elevated:
      step_ = Step::AskingConsent;
      system_.StartSyncCommandElevated(command, SyncCommandArguments(address_));
      return std::nullopt;
    case SyncRoute::NoRight: return SyncOutcome{SyncEnd::NoRight};
    case SyncRoute::NoRightButElevatable: return SyncOutcome{SyncEnd::NoRightButElevatable};
  }
  return SyncOutcome{SyncEnd::NotStarted};
}

std::optional<SyncOutcome> SyncAttempt::End(const SyncOutcome& outcome) {
  step_ = Step::None;
  return outcome;
}
