#pragma once

#include <windows.h>

#include <string>

#include "win32/unique_handle.h"

// Where a command writes its standard output and error: a pipe with room
// enough that the command never waits for a reader, read once the command
// has ended, so that reading never waits either.
class CommandOutputPipe {
 public:
  // False when no pipe can be made; the command then runs without one.
  bool Create();
  // The end the command inherits.
  HANDLE WriteEnd() const { return writeEnd_.Get(); }
  // Once the command has its own copy: only then does the pipe end with it.
  void CloseWriteEnd() { writeEnd_.Reset(); }
  // What is in the pipe now, in the console's code page, as the command
  // wrote it; empty without a pipe.
  std::wstring TakeText();

 private:
  UniqueKernelHandle readEnd_, writeEnd_;
};
