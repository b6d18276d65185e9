// Stand-in for the system's schtasks.exe. Wine's own registers a task but
// drops its run level, logon type and actions, and a real logon task is the
// last thing a test machine wants. This one records how it was started, keeps
// a copy of the definition file it was given with /xml (the program removes
// its own afterwards), and exits with the code the test asked for. Where
// that code is 0 it keeps the task's file as the real one does, which is how
// the program tells whether a task is there: /create writes it into the
// system's task folder, /delete removes it.
//
// Talks to the tests through the environment variables and the log format in
// support/fake_net_protocol.h.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "fake_tool.h"
#include "support/fake_net_protocol.h"

namespace {

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  const std::vector<std::wstring> all(arguments + 1, arguments + count);
  LocalFree(arguments);
  return all;
}

// The argument after option, or nothing.
std::wstring ArgumentAfter(const std::vector<std::wstring>& arguments, const wchar_t* option) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
    if (lstrcmpiW(arguments[i].c_str(), option) == 0) return arguments[i + 1];
  return L"";
}

// "/create" or "/delete" comes first.
void KeepTaskFile(const std::vector<std::wstring>& arguments, const std::wstring& definition) {
  const std::wstring name = ArgumentAfter(arguments, L"/tn");
  wchar_t system[MAX_PATH];
  if (arguments.empty() || name.empty() || !GetSystemDirectoryW(system, MAX_PATH)) return;
  const std::wstring folder = std::wstring(system) + L"\\Tasks";
  const std::wstring task = folder + L"\\" + name;
  if (lstrcmpiW(arguments[0].c_str(), L"/create") == 0) {
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(definition.c_str(), task.c_str(), FALSE);
  } else if (lstrcmpiW(arguments[0].c_str(), L"/delete") == 0) {
    DeleteFileW(task.c_str());
  }
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
  const std::vector<std::wstring> arguments = Arguments();
  const std::wstring definition = ArgumentAfter(arguments, L"/xml");
  if (!definition.empty())
    CopyFileW(definition.c_str(), (logPath + e2e::kFakeSchtasksXmlCopySuffix).c_str(), FALSE);
  const DWORD exitCode = e2e::EnvNumber(e2e::kFakeSchtasksExitVar, 0);
  if (exitCode == 0) KeepTaskFile(arguments, definition);
  e2e::AppendLine(logPath, e2e::StartLine());
  ExitProcess(exitCode);
}
