#include "settings/logon_task_win32.h"

#include <optional>
#include <utility>
#include <vector>

#include "settings/logon_task.h"
#include "sync/consent_win32.h"
#include "win32/system_exe.h"
#include "win32/unique_handle.h"

namespace {

using 开机运行::TaskChangeEnd;

// schtasks.exe answers in a moment; one that does not is given up.
constexpr DWORD kSchtasksWaitMilliseconds = 60000;

// The definition as schtasks.exe reads it. The file lies in a folder the
// user's unelevated programs may write, while an elevated schtasks.exe
// reads it: it is held open against writing and deleting from the moment
// its content is checked until it is removed, so that nothing can swap the
// program the task starts.
class DefinitionFile {
 public:
  static std::optional<DefinitionFile> Write(const std::wstring& definition) {
    wchar_t folder[MAX_PATH + 1], path[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"lts", 0, path))
      return std::nullopt;
    DefinitionFile file(path);
    const std::string bytes = 开机运行::Utf16LeWithBom(definition);
    if (!WriteWhole(path, bytes) || !file.HoldIfHolding(bytes)) return std::nullopt;
    return file;
  }

  DefinitionFile(DefinitionFile&& other) noexcept
      : path_(std::exchange(other.path_, {})), held_(std::move(other.held_)) {}
  DefinitionFile& operator=(DefinitionFile&&) = delete;
  ~DefinitionFile() {
    if (path_.empty()) return;
    held_.Reset();
    DeleteFileW(path_.c_str());
  }

  const std::wstring& Path() const { return path_; }

 private:
  explicit DefinitionFile(std::wstring path) : path_(std::move(path)) {}

  static bool WriteWhole(const std::wstring& path, const std::string& bytes) {
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                            TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
  }

  // Opening denies writers and fails while one has it open; what it then
  // holds is what schtasks.exe will read.
  bool HoldIfHolding(const std::string& bytes) {
    held_.Reset(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held_) return false;
    std::vector<char> read(bytes.size() + 1);
    DWORD got = 0;
    return ReadFile(held_.Get(), read.data(), static_cast<DWORD>(read.size()), &got, nullptr) &&
           std::string(read.data(), got) == bytes;
  }

  std::wstring path_;  // empty once moved from
  UniqueFileHandle held_;
};

bool StartHidden(const SystemExe& exe, const std::wstring& arguments, UniqueKernelHandle& process) {
  std::wstring commandLine = L"\"" + exe.application + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, exe.directory.c_str(), &startup, &started))
    return false;
  CloseHandle(started.hThread);
  process.Reset(started.hProcess);
  return true;
}

TaskChangeEnd EndOf(HANDLE process) {
  DWORD exitCode = 1;
  if (WaitForSingleObject(process, kSchtasksWaitMilliseconds) != WAIT_OBJECT_0) {
    // Fails for the one started with full rights, which then ends by itself.
    TerminateProcess(process, 1);
    return TaskChangeEnd::Failed;
  }
  return GetExitCodeProcess(process, &exitCode) && exitCode == 0 ? TaskChangeEnd::Done
                                                                 : TaskChangeEnd::Failed;
}

TaskChangeEnd RunSchtasks(HWND owner, const SystemExe& schtasks, const std::wstring& arguments,
                          bool throughConsent) {
  UniqueKernelHandle process;
  if (!throughConsent)
    return StartHidden(schtasks, arguments, process) ? EndOf(process.Get()) : TaskChangeEnd::Failed;
  switch (StartWithConsent(owner, schtasks, arguments, process)) {
    case ElevatedStart::Started: return EndOf(process.Get());
    case ElevatedStart::Declined: return TaskChangeEnd::Declined;
    case ElevatedStart::Failed: break;
  }
  return TaskChangeEnd::Failed;
}

TaskChangeEnd Change(HWND owner, const TaskChange& change) {
  const std::optional<SystemExe> schtasks = SystemExeNamed(kSchtasksExe);
  if (!schtasks) return TaskChangeEnd::Failed;
  if (change.step != 开机运行::TaskStep::Create)
    return RunSchtasks(owner, *schtasks, 开机运行::DeleteTaskArguments(change.taskName),
                       change.throughConsent);
  const std::optional<DefinitionFile> file = DefinitionFile::Write(change.definition);
  if (!file) return TaskChangeEnd::Failed;
  return RunSchtasks(owner, *schtasks, 开机运行::CreateTaskArguments(change.taskName, file->Path()),
                     change.throughConsent);
}

}  // namespace

bool StartTaskChange(HWND owner, TaskChange change, TaskChangeEnded ended) {
  return RunOnConsentThread([owner, change = std::move(change), ended = std::move(ended)] {
    // The file is gone before the end is told.
    const TaskChangeEnd end = Change(owner, change);
    ended(end);
  });
}
