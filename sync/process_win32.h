#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "win32/unique_handle.h"

// The one sync command that may be running, watched without blocking.
class SyncCommandProcess {
 public:
  // Starts the system's own net.exe, by its full path and hidden, so that no
  // net.exe beside the program or in the working directory runs instead.
  bool Start(const std::wstring& commandLine);
  // The handle to wait for while the command is watched, else null.
  HANDLE Handle() const { return process_.Get(); }
  // The exit code, once, after the process has ended.
  std::optional<std::uint32_t> TakeExitCode();
  // Ends the command and stops watching it: its end is never reported.
  void End();

 private:
  UniqueKernelHandle process_;
};
