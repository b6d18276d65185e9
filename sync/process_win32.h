#pragma once

#include <string>

#include "sync/command_watch_win32.h"
#include "sync/sync_command.h"
#include "win32/unique_handle.h"

inline constexpr wchar_t kNetExe[] = L"net.exe";

// The one sync command that may be running, watched from the thread pool.
class SyncCommandProcess {
 public:
  // Starts the system's net.exe, hidden. It, and all it starts, ends at the
  // latest when the program ends.
  bool Start(const std::wstring& commandLine, CommandEnded ended);
  // What the command wrote, once its end has been told.
  std::wstring TakeOutput() { return watch_.TakeOutput(); }
  // Ends the command and whatever it started, which may hold its pipe even
  // after it has ended; an end it tells after this is of no more interest.
  void End();

 private:
  bool Watch(const PROCESS_INFORMATION& started, CommandWatch watch, CommandEnded ended);

  UniqueKernelHandle process_;
  // Ends the command and all it started once closed; null where the system
  // would not put the command in a job.
  UniqueKernelHandle job_;
  CommandWatch watch_;
};
