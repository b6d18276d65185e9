#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "sync/sntp_answer.h"

// How one sync attempt ended.
enum class SyncEnd {
  Synced,
  NoAnswer,              // the server did not answer the probe
  NoRight,               // no right to change the clock, and no prompt can give it
  NoRightButElevatable,  // no right, but a click on "立即同步" can ask for it
  Declined,              // the consent prompt was declined
  NotStarted,            // net.exe could not be started
  TimedOut,              // net.exe ran past its time limit and was ended
  CommandFailed,         // net.exe ended with an exit code other than 0
};

// How setting the clock from an SNTP answer went.
enum class ClockSet {
  Set,
  NotOwnRight,  // net.exe had the right only through the consent prompt
  NoRight,      // this process could not enable the right after all
  Refused,      // the system refused the new time
};

struct ClockSetEnd {
  ClockSet result;
  std::uint32_t error = 0;  // refused: the system's error code
};

// Where net.exe failed, the same server asked over SNTP.
struct SntpFallback {
  sntp::Answer answer;
  ClockSetEnd set{ClockSet::NotOwnRight};  // only once answered
};

struct SyncOutcome {
  SyncOutcome(SyncEnd end, std::uint32_t exitCode = 0, std::wstring lastLine = {})
      : end(end), exitCode(exitCode), lastLine(std::move(lastLine)) {}

  // How net.exe, or what came before it, ended.
  SyncEnd end;
  std::uint32_t exitCode;
  // The last line net.exe wrote, when its output could be read.
  std::wstring lastLine;
  std::optional<SntpFallback> sntp;
};

// The clock was set, by net.exe or from an SNTP answer.
bool IsSynced(const SyncOutcome& outcome);

// The outcome of a command that ended; output is what it wrote, if known.
SyncOutcome CommandOutcome(std::uint32_t exitCode, const std::wstring& output);

// The status label's caption: "同步时间 " and the time, or "钟联错误".
std::wstring OutcomeCaption(const SyncOutcome& outcome, const std::wstring& timeOfDay);

// Why, in words, for the user who wonders whether the clock is kept.
std::wstring OutcomeReason(const SyncOutcome& outcome, const std::wstring& timeOfDay);
