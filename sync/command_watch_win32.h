#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "win32/unique_handle.h"

// Called on a thread of the system's pool once the command has ended and
// what it wrote has been read, at most a second later whatever still holds
// its pipe.
using CommandEnded = std::function<void(std::uint32_t exitCode)>;

// One started command, watched from the system's thread pool: its output is
// drained while it runs, so that a command that writes more than the pipe
// holds never waits for the program, and its end is told without the
// program's own thread ever waiting for it. What the pool writes into is
// shared with it, so a watch may be dropped at any time.
class CommandWatch {
 public:
  // The pipe the command is to write into. False when none can be made; the
  // command then runs without one.
  bool CreatePipe();
  // The end the command inherits; null without a pipe.
  HANDLE PipeWriteEnd() const { return writeEnd_.Get(); }
  // Once the command has its own copy: only then does the pipe end with it.
  void ClosePipeWriteEnd() { writeEnd_.Reset(); }
  // For a command that runs without the pipe after all.
  void DropPipe() {
    writeEnd_.Reset();
    readEnd_.Reset();
  }
  // Watches the process, through a handle of its own, from now on. False,
  // and ended is never called, when the pool would not take the watch.
  bool Start(HANDLE process, CommandEnded ended);
  // The last lines it wrote, in the console's code page as the command wrote
  // them, as read when its end was told: only once ended has been called,
  // and empty without a pipe.
  std::wstring TakeOutput();

 private:
  struct State;

  UniqueKernelHandle writeEnd_;
  UniqueKernelHandle readEnd_;
  std::shared_ptr<State> state_;
};
