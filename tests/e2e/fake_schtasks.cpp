// Stand-in for the system's schtasks.exe. Wine's own registers a task but
// drops its run level, logon type and actions, and a real logon task is the
// last thing a test machine wants. This one records how it was started, keeps
// a copy of the definition file it was given with /xml (the program removes
// its own afterwards), and exits with the code the test asked for.
//
// Talks to the tests through the environment variables and the log format in
// support/fake_net_protocol.h.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "fake_tool.h"
#include "support/fake_net_protocol.h"

namespace {

// The argument after /xml, or nothing.
std::wstring DefinitionFile() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return L"";
  std::wstring file;
  for (int i = 1; i + 1 < count; ++i)
    if (lstrcmpiW(arguments[i], L"/xml") == 0) file = arguments[i + 1];
  LocalFree(arguments);
  return file;
}

void RunAndWait(std::wstring commandLine, const std::wstring& doneFile) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return;
  WaitForSingleObject(started.hProcess, 10000);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  for (int tries = 0; !doneFile.empty() && tries < 100; ++tries) {
    if (GetFileAttributesW(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    Sleep(100);
  }
}

}  // namespace

int wmain() {
  const std::wstring logPath = e2e::Env(e2e::kFakeSchtasksLogVar);
  // Not started by a test: a harmless no-op.
  if (logPath.empty()) return 0;
  if (const std::wstring before = e2e::Env(e2e::kFakeSchtasksBeforeVar); !before.empty())
    RunAndWait(before, e2e::Env(e2e::kFakeSchtasksBeforeDoneVar));
  // Copied before the line is written: once a test sees the line, the copy
  // is there.
  if (const std::wstring file = DefinitionFile(); !file.empty())
    CopyFileW(file.c_str(), (logPath + e2e::kFakeSchtasksXmlCopySuffix).c_str(), FALSE);
  e2e::AppendLine(logPath, e2e::StartLine());
  ExitProcess(e2e::EnvNumber(e2e::kFakeSchtasksExitVar, 0));
}
