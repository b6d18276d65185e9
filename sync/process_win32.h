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
  bool Start(const std::wstring& commandLine);
  // The same net.exe through the consent prompt, which belongs to owner.
  ElevatedStart StartElevated(HWND owner, const std::wstring& arguments);
  // The handle to wait for while the command is watched, else null.
  HANDLE Handle() const { return process_.Get(); }
  // How it ended, once, after the process has ended. A command started
  // through the consent prompt has no pipe: only its exit code is known.
  std::optional<CommandEnd> TakeEnd();
  // Ends the command and stops watching it: its end is never reported.
  void End();

 private:
  UniqueKernelHandle process_;
  CommandOutputPipe output_;
};
