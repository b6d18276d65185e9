#include "sync/process_win32.h"

#include <optional>
#include <utility>
#include <vector>

#include "win32/system_exe.h"

namespace {

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

// Lets the command inherit the one handle named and nothing else the program
// may hold inheritable.
class InheritOnly {
 public:
  explicit InheritOnly(HANDLE handle) : handle_(handle) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (!handle_ || storage_.empty() || !InitializeProcThreadAttributeList(list, 1, 0, &size))
      return;
    if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_,
                                  sizeof handle_, nullptr, nullptr))
      list_ = list;
    else
      DeleteProcThreadAttributeList(list);
  }
  ~InheritOnly() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  InheritOnly(const InheritOnly&) = delete;
  InheritOnly& operator=(const InheritOnly&) = delete;

  // Null when the list could not be made.
  LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }

 private:
  HANDLE handle_;  // the list points at it
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

// net.exe is a console program, but its words go to the pipe: it gets no
// console, so none can flash up, whatever the default terminal is.
bool SyncCommandProcess::Start(const std::wstring& commandLine, CommandEnded ended) {
  const std::optional<SystemExe> net = SystemExeNamed(kNetExe);
  if (!net) return false;
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');

  CommandWatch watch;
  watch.CreatePipe();
  const InheritOnly inherited(watch.PipeWriteEnd());
  // Without the list it could inherit more than the pipe, so it runs without
  // one: it syncs all the same; only its words are lost.
  if (!inherited.List()) watch.DropPipe();
  const bool piped = inherited.List() != nullptr;
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = piped ? STARTF_USESTDHANDLES : 0;
  startup.StartupInfo.hStdOutput = startup.StartupInfo.hStdError = watch.PipeWriteEnd();
  startup.lpAttributeList = inherited.List();
  const DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT;
  PROCESS_INFORMATION started{};
  const BOOL created =
      CreateProcessW(net->application.c_str(), writableCommandLine.data(), nullptr, nullptr, piped,
                     flags, nullptr, net->directory.c_str(), &startup.StartupInfo, &started);
  watch.ClosePipeWriteEnd();
  if (!created) return false;
  return Watch(started, std::move(watch), std::move(ended));
}

bool SyncCommandProcess::Watch(const PROCESS_INFORMATION& started, CommandWatch watch,
                               CommandEnded ended) {
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

void SyncCommandProcess::End() {
  // Fails for a command that has just ended by itself, which is as good.
  TerminateProcess(process_.Get(), 1);
  // Closing the job ends whatever the command left running.
  process_.Reset();
  job_.Reset();
  watch_ = {};
}
