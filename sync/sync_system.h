#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "sync/ntp_time.h"
#include "sync/sync_command.h"
#include "sync/sync_outcome.h"

// Who sent an echo: the twice-a-second status check or a sync attempt. At
// most one of each is waited for at a time.
enum class ProbeFor { Status, Sync };

// One echo, told apart from an earlier one of the same sender whose end came
// too late to be waited for.
struct EchoTicket {
  ProbeFor prober;
  std::uint32_t number;
  bool operator==(const EchoTicket&) const = default;
};

// What the probe and the sync attempt need of the system. Every call returns
// at once; each end comes back later, on the window's thread, carrying the
// ticket or number it was started with.
class SyncSystem {
 public:
  // Sends one echo; its end reaches the form through ProbeHost_Completed.
  virtual void ProbeHost(EchoTicket echo, std::int32_t address) = 0;
  // Starts net.exe with this command line unless it cannot be started; its
  // end reaches the form through SyncCommand_Ended.
  virtual bool StartSyncCommand(std::uint32_t command, const std::wstring& commandLine) = 0;
  // The same command through the consent prompt, for the right to change
  // the clock. How the start went reaches the form through
  // ConsentPrompt_Ended; once started, the command ends as the other does.
  virtual void StartSyncCommandElevated(std::uint32_t command, const std::wstring& arguments) = 0;
  // Ends the running command; its end, should it still come, is dropped.
  virtual void EndSyncCommand() = 0;
  // Asks the server once over SNTP, unless it cannot be asked; the answer
  // reaches the form through SntpQuestion_Ended within about a second.
  virtual bool AskSntp(std::uint32_t question, std::int32_t address) = 0;
  // Moves the clock by the offset with this process's own right, which it
  // enables for the change.
  virtual ClockSetEnd SetClockBy(sntp::Offset offset) = 0;
  // Never goes back, whatever happens to the clock the command sets.
  virtual std::chrono::milliseconds SteadyNow() = 0;

 protected:
  ~SyncSystem() = default;
};
