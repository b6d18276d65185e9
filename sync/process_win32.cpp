#include "sync/process_win32.h"

#include <shellapi.h>

#include <utility>
#include <vector>

namespace {

std::wstring SystemDirectory() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  return std::wstring(directory, length);
}

std::wstring NetExePath(const std::wstring& systemDirectory) {
  return systemDirectory + L"\\net.exe";
}

}  // namespace

bool SyncCommandProcess::Start(const std::wstring& commandLine) {
  const std::wstring systemDirectory = SystemDirectory();
  if (systemDirectory.empty()) return false;
  const std::wstring application = NetExePath(systemDirectory);
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');

  // Without a pipe the command still runs; only its words are lost.
  CommandOutputPipe output;
  const bool piped = output.Create();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | (piped ? STARTF_USESTDHANDLES : 0);
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = startup.hStdError = output.WriteEnd();
  PROCESS_INFORMATION started{};
  const BOOL created =
      CreateProcessW(application.c_str(), writableCommandLine.data(), nullptr, nullptr, piped, 0,
                     nullptr, systemDirectory.c_str(), &startup, &started);
  output.CloseWriteEnd();
  if (!created) return false;
  CloseHandle(started.hThread);
  process_.Reset(started.hProcess);
  output_ = std::move(output);
  return true;
}

ElevatedStart SyncCommandProcess::StartElevated(HWND owner, const std::wstring& arguments) {
  const std::wstring systemDirectory = SystemDirectory();
  if (systemDirectory.empty()) return ElevatedStart::Failed;
  const std::wstring application = NetExePath(systemDirectory);
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // The program tells the user why in its own words, without a message box.
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.hwnd = owner;
  execute.lpVerb = L"runas";
  execute.lpFile = application.c_str();
  execute.lpParameters = arguments.c_str();
  execute.lpDirectory = systemDirectory.c_str();
  execute.nShow = SW_HIDE;
  if (!ShellExecuteExW(&execute))
    return GetLastError() == ERROR_CANCELLED ? ElevatedStart::Declined : ElevatedStart::Failed;
  if (!execute.hProcess) return ElevatedStart::Failed;
  process_.Reset(execute.hProcess);
  output_ = {};
  return ElevatedStart::Started;
}

std::optional<CommandEnd> SyncCommandProcess::TakeEnd() {
  if (!process_ || WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  // A process whose exit code cannot be read did not report success.
  if (!GetExitCodeProcess(process_.Get(), &exitCode)) exitCode = 1;
  process_.Reset();
  return CommandEnd{exitCode, std::exchange(output_, {}).TakeText()};
}

void SyncCommandProcess::End() {
  // Fails for a command that has just ended by itself, which is as good, and
  // for one raised through the consent prompt, which this program may not
  // end: it is no longer watched, so that the next attempt can run.
  TerminateProcess(process_.Get(), 1);
  process_.Reset();
  output_ = {};
}
