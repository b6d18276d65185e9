#include "sync/process_win32.h"

#include <vector>

namespace {

std::wstring SystemDirectory() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  return std::wstring(directory, length);
}

}  // namespace

bool SyncCommandProcess::Start(const std::wstring& commandLine) {
  const std::wstring systemDirectory = SystemDirectory();
  if (systemDirectory.empty()) return false;
  const std::wstring application = systemDirectory + L"\\net.exe";
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(application.c_str(), writableCommandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, systemDirectory.c_str(), &startup, &started))
    return false;
  CloseHandle(started.hThread);
  process_.Reset(started.hProcess);
  return true;
}

std::optional<std::uint32_t> SyncCommandProcess::TakeExitCode() {
  if (!process_ || WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  // A process whose exit code cannot be read did not report success.
  if (!GetExitCodeProcess(process_.Get(), &exitCode)) exitCode = 1;
  process_.Reset();
  return exitCode;
}

void SyncCommandProcess::End() {
  // Fails only for a command that has just ended by itself, which is as good.
  TerminateProcess(process_.Get(), 1);
  process_.Reset();
}
