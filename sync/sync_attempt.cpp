#include "sync/sync_attempt.h"

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

std::optional<SyncOutcome> SyncAttempt::CommandEnded(const CommandEnd& ended) {
  // The end of a command ended at its limit, which changes nothing now.
  if (step_ != Step::Running || ended.command != commandsStarted_) return std::nullopt;
  return End(CommandOutcome(ended.exitCode, ended.output));
}

std::optional<SyncOutcome> SyncAttempt::SecondPassed() {
  const auto now = system_.SteadyNow();
  if (step_ == Step::Probing && echo_.IsOverdue(now)) {
    echo_.GiveUp();
    return Probed(false);
  }
  if (step_ == Step::Running && now - commandStartedAt_ >= kSyncCommandTimeLimit) {
    system_.EndSyncCommand();
    return End({SyncEnd::TimedOut});
  }
  return std::nullopt;
}

std::optional<SyncOutcome> SyncAttempt::Probed(bool answered) {
  if (!answered) return End({SyncEnd::NoAnswer});
  if (const auto notStarted = StartCommand()) return End(*notStarted);
  // The caption for a started command waits until the command has ended.
  step_ = Step::Running;
  commandStartedAt_ = system_.SteadyNow();
  return std::nullopt;
}

// Nothing once the command runs; else why it does not.
std::optional<SyncOutcome> SyncAttempt::StartCommand() {
  const std::uint32_t command = ++commandsStarted_;
  switch (route_) {
    case SyncRoute::Direct:
      if (system_.StartSyncCommand(command, BuildSyncCommandLine(address_))) return std::nullopt;
      return SyncOutcome{SyncEnd::NotStarted};
    case SyncRoute::Elevated:
      switch (system_.StartSyncCommandElevated(command, SyncCommandArguments(address_))) {
        case ElevatedStart::Started: return std::nullopt;
        case ElevatedStart::Declined: return SyncOutcome{SyncEnd::Declined};
        case ElevatedStart::Failed: return SyncOutcome{SyncEnd::NotStarted};
      }
      break;
    case SyncRoute::NoRight: return SyncOutcome{SyncEnd::NoRight};
    case SyncRoute::NoRightButElevatable: return SyncOutcome{SyncEnd::NoRightButElevatable};
  }
  return SyncOutcome{SyncEnd::NotStarted};
}

std::optional<SyncOutcome> SyncAttempt::End(const SyncOutcome& outcome) {
  step_ = Step::None;
  return outcome;
}
