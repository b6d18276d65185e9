#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sync/command_output_win32.h"
#include "sync/sync_command.h"
#include "win32/unique_handle.h"

// The one sync command that may be running, watched without blocking.
class SyncCommandProcess {
 public:
  // Starts the system's own net.exe, by its full path and hidden, so that no
  // net.exe beside the program or in the working directory runs instead.
  // It, and all it starts, ends at the latest when the program ends.
  bool Start(const std::wstring& commandLine);
  // The same net.exe through the consent prompt, which belongs to owner.
  // That command runs with rights the program lacks, so it cannot be put in
  // the program's job: it runs on should the program end first.
  ElevatedStart StartElevated(HWND owner, const std::wstring& arguments);
  // The handle to wait for while the command is watched, else null: the
  // process, then the end of its output.
  HANDLE Handle() const;
  // How it ended, once, after the process has ended and all it wrote has
  // been read. A command started through the consent prompt has no pipe:
  // only its exit code is known.
  std::optional<CommandEnd> TakeEnd();
  // Ends the command and stops watching it: its end is never reported.
  void End();

 private:
  bool HasEnded() const;
  void Forget();

  UniqueKernelHandle process_;
  // Ends the command and all it started once closed; null where the system
  // would not put the command in a job.
  UniqueKernelHandle job_;
  CommandOutputPipe output_;
};
