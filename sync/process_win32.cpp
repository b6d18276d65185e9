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

// Its processes end once its last handle is closed: when the program ends,
// however it ends, the command it started ends too.
UniqueKernelHandle KillOnCloseJob() {
  UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job && !SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                      sizeof limits))
    job.Reset();
  return job;
}

// Joined while still suspended, so that nothing it starts escapes the job.
// Where the program itself runs in a job that takes no nested one (Windows
// 7 does not nest jobs), the command runs outside any: it syncs all the
// same, but could outlive the program.
UniqueKernelHandle JoinedJob(HANDLE suspendedProcess) {
  UniqueKernelHandle job = KillOnCloseJob();
  if (job && !AssignProcessToJobObject(job.Get(), suspendedProcess)) job.Reset();
  return job;
}

}  // namespace

bool SyncCommandProcess::Start(const std::wstring& commandLine, CommandEnded ended) {
  const std::wstring systemDirectory = SystemDirectory();
  if (systemDirectory.empty()) return false;
  const std::wstring application = NetExePath(systemDirectory);
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');

  // Without a pipe the command still runs; only its words are lost.
  CommandWatch watch;
  const bool piped = watch.CreatePipe();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | (piped ? STARTF_USESTDHANDLES : 0);
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = startup.hStdError = watch.PipeWriteEnd();
  PROCESS_INFORMATION started{};
  const BOOL created =
      CreateProcessW(application.c_str(), writableCommandLine.data(), nullptr, nullptr, piped,
                     CREATE_SUSPENDED, nullptr, systemDirectory.c_str(), &startup, &started);
  watch.ClosePipeWriteEnd();
  if (!created) return false;
  const UniqueKernelHandle thread(started.hThread);
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle job = JoinedJob(process.Get());
  // Unwatched, its end would never be told and no later sync could run.
  if (!watch.Start(process.Get(), std::move(ended)) ||
      ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
    TerminateProcess(process.Get(), 1);
    return false;
  }
  process_ = std::move(process);
  job_ = std::move(job);
  watch_ = std::move(watch);
  return true;
}

ElevatedStart SyncCommandProcess::StartElevated(HWND owner, const std::wstring& arguments,
                                                CommandEnded ended) {
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
  UniqueKernelHandle process(execute.hProcess);
  CommandWatch watch;
  if (!watch.Start(process.Get(), std::move(ended))) return ElevatedStart::Failed;
  process_ = std::move(process);
  job_.Reset();
  watch_ = std::move(watch);
  return ElevatedStart::Started;
}

void SyncCommandProcess::End() {
  // Fails for a command that has just ended by itself, which is as good, and
  // for one raised through the consent prompt, which this program may not
  // end: either way the next attempt can run.
  TerminateProcess(process_.Get(), 1);
  // Closing the job ends whatever the command left running.
  process_.Reset();
  job_.Reset();
  watch_ = {};
}
