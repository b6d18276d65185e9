#pragma once

#include <string>

#include "sync/command_watch_win32.h"
#include "sync/sync_command.h"
#include "win32/unique_handle.h"

// The one sync command that may be running, watched from the thread pool.
class SyncCommandProcess {
 public:
  // Starts the system's own net.exe, by its full path and hidden, so that no
  // net.exe beside the program or in the working directory runs instead.
  // It, and all it starts, ends at the latest when the program ends.
  bool Start(const std::wstring& commandLine, CommandEnded ended);
  // The same net.exe through the consent prompt, which belongs to owner.
  // That command runs with rights the program lacks, so it cannot be put in
  // the program's job: it runs on should the program end first.
  ElevatedStart StartElevated(HWND owner, const std::wstring& arguments, CommandEnded ended);
  // What the command wrote, once its end has been told; a command started
  // through the consent prompt has no pipe, so only its exit code is known.
  std::wstring TakeOutput() { return watch_.TakeOutput(); }
  // Ends the command; the end it then tells is of no more interest.
  void End();

 private:
  UniqueKernelHandle process_;
  // Ends the command and all it started once closed; null where the system
  // would not put the command in a job.
  UniqueKernelHandle job_;
  CommandWatch watch_;
};
