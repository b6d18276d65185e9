#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "win32/unique_handle.h"

// Where a command writes its standard output and error: a pipe drained on
// the system's thread pool while the command runs, so that a command that
// writes more than the pipe holds never waits for the program, and the
// program's own thread never waits for the command.
class CommandOutputPipe {
 public:
  // False when no pipe can be made; the command then runs without one.
  bool Create();
  // The end the command inherits.
  HANDLE WriteEnd() const { return writeEnd_.Get(); }
  // Once the command has its own copy: only then does the pipe end with it.
  void CloseWriteEnd() { writeEnd_.Reset(); }
  // Drains the pipe from now on, once the command runs.
  void StartReading();
  // Signalled once all that was written has been read; null when nothing
  // is being read.
  HANDLE Drained() const;
  bool IsDrained() const;
  // The last lines written, in the console's code page as the command wrote
  // them; empty without a pipe. Only once drained.
  std::wstring TakeText();

 private:
  struct Reader;

  UniqueKernelHandle writeEnd_;
  std::shared_ptr<Reader> reader_;
};
