#pragma once
// Starting and watching the programs under test from outside.

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win32/unique_handle.h"

namespace e2e {

struct LaunchOptions {
  // Appended to the quoted exe path, separated by a blank.
  std::wstring arguments;
  // Empty: the exe's own directory.
  std::wstring workingDir;
  // Added to (or replacing) the test process's own environment.
  std::vector<std::pair<std::wstring, std::wstring>> extraEnv;
  // SW_* value handed over with STARTF_USESHOWWINDOW; unset: no flag.
  std::optional<WORD> showWindow;
  // Set: the process runs with this primary token instead of a copy of ours.
  HANDLE token = nullptr;
  // Set: the process is made but does not run until Resume(), so that
  // several can be set going at one moment.
  bool suspended = false;
};

// A started process. Owns it: a test that fails half-way must not leave the
// product running, holding its files and its tray icon, so the destructor
// terminates a process that is still alive.
class Process {
 public:
  Process() = default;
  Process(Process&&) = default;
  // Assigning over a running process terminates it, like destruction does.
  Process& operator=(Process&& other) noexcept;
  ~Process();

  static Process Launch(const std::wstring& exe, const LaunchOptions& options = {});

  // False when CreateProcessW failed; Error() tells why.
  bool Started() const { return static_cast<bool>(process_); }
  DWORD Error() const { return error_; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  // The exact command line that was passed to CreateProcessW.
  const std::wstring& CommandLine() const { return commandLine_; }

  bool Running() const;
  // True when the process has ended within timeoutMs.
  bool WaitForExit(int timeoutMs);
  // Unset while the process still runs.
  std::optional<DWORD> ExitCode() const;
  // Ends the process and waits until it is gone.
  void Terminate(UINT exitCode = 1);
  // Lets a process launched suspended run.
  bool Resume();

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle suspendedThread_;
  DWORD id_ = 0;
  DWORD error_ = 0;
  std::wstring commandLine_;
};

// Ids of all running processes whose exe file name is exeName ("a.exe").
std::vector<DWORD> ProcessIdsByExeName(const std::wstring& exeName);

}  // namespace e2e
