#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "sync/clock_right.h"
#include "sync/echo_slot.h"
#include "sync/sync_outcome.h"
#include "sync/sync_system.h"

// One sync, from the click or the schedule to its outcome: one echo to the
// server, then, if it answered, net.exe by the chosen route, and where that
// fails, one question to the same server over SNTP. Each event hands back
// the outcome once the attempt has ended, and nothing until then.
class SyncAttempt {
 public:
  explicit SyncAttempt(SyncSystem& system) : system_(system) {}

  bool IsRunning() const { return step_ != Step::None; }
  // Begins an attempt against the address text as it is now; the command
  // runs against that text even if the box is typed over meanwhile.
  std::optional<SyncOutcome> Start(const std::wstring& addressText, SyncRoute route);
  std::optional<SyncOutcome> EchoEnded(EchoTicket echo, bool answered);
  std::optional<SyncOutcome> ConsentEnded(std::uint32_t command, ElevatedStart start);
  std::optional<SyncOutcome> CommandEnded(const CommandEnd& ended);
  std::optional<SyncOutcome> SntpEnded(std::uint32_t question, const sntp::Answer& answer);
  // Once a second: an echo or an SNTP question that will not end, or a
  // command past its time limit, ends the attempt. The user may take their time over the consent
  // prompt: that wait has no limit.
  std::optional<SyncOutcome> SecondPassed();

 private:
  enum class Step { None, Probing, AskingConsent, Running, AskingSntp };

  std::optional<SyncOutcome> Probed(bool answered);
  std::optional<SyncOutcome> StartCommand();
  void Started();
  std::optional<SyncOutcome> NetEnded(const SyncOutcome& outcome);
  std::optional<SyncOutcome> End(const SyncOutcome& outcome);

  SyncSystem& system_;
  Step step_ = Step::None;
  EchoSlot echo_{ProbeFor::Sync};
  std::wstring address_;
  SyncRoute route_ = SyncRoute::Direct;
  std::uint32_t commandsStarted_ = 0;
  std::chrono::milliseconds commandStartedAt_{};
  // How net.exe failed, while SNTP is asked.
  std::optional<SyncOutcome> netFailure_;
  std::uint32_t sntpQuestions_ = 0;
  std::chrono::milliseconds sntpAskedAt_{};
};
