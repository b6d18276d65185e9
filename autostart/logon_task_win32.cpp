#include "autostart/logon_task_win32.h"

#include <optional>
#include <utility>
#include <vector>

#include "autostart/logon_task.h"
#include "autostart/task_change_mark_win32.h"
#include "win32/shell_thread.h"
#include "win32/system_exe.h"
#include "win32/unique_handle.h"

namespace {

using 开机运行::TaskChangeEnd;

// schtasks.exe answers in a moment; one that does not is given up.
constexpr DWORD kSchtasksWaitMilliseconds = 60000;

// The definition as schtasks.exe reads it. The file lies in the user's
// temporary folder, which the user's unelevated programs may write and
// whose path they choose, while an elevated schtasks.exe reads it. It is
// held against writing and deleting from the moment its content is checked
// until it is removed; schtasks.exe is given its path with every link
// resolved, read from the held file, and every folder on that path is held
// against renaming and deleting meanwhile, so that nothing can re-point the
// path to another file.
class DefinitionFile {
 public:
  static std::optional<DefinitionFile> Write(const std::wstring& definition) {
    wchar_t folder[MAX_PATH + 1], path[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"lts", 0, path))
      return std::nullopt;
    DefinitionFile file(path);
    const std::string bytes = 开机运行::Utf16LeWithBom(definition);
    if (!WriteWhole(path, bytes) || !file.HoldIfHolding(bytes) || !file.HoldResolvedPath())
      return std::nullopt;
    return file;
  }

  DefinitionFile(DefinitionFile&& other) noexcept
      : path_(std::exchange(other.path_, {})),
        resolved_(std::move(other.resolved_)),
        held_(std::move(other.held_)),
        folders_(std::move(other.folders_)) {}
  DefinitionFile& operator=(DefinitionFile&&) = delete;
  ~DefinitionFile() {
    if (path_.empty()) return;
    held_.Reset();
    folders_.clear();
    DeleteFileW(path_.c_str());
  }

  // What schtasks.exe is given: no link on it, and no folder on it that can
  // change while this is held.
  const std::wstring& Path() const { return resolved_; }

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

  // Each folder below the drive's root is opened with a share mode that
  // refuses the delete access a rename needs, and must be no link itself.
  // A folder swapped before it was held shows in the file's path read
  // again afterwards.
  bool HoldResolvedPath() {
    const std::optional<std::wstring> resolved = ResolvedPathOf(held_.Get());
    if (!resolved) return false;
    constexpr std::size_t kDriveRootLength = 3;  // "C:\"
    for (std::size_t cut = resolved->find(L'\\', kDriveRootLength); cut != std::wstring::npos;
         cut = resolved->find(L'\\', cut + 1)) {
      UniqueFileHandle folder(
          CreateFileW(resolved->substr(0, cut).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      BY_HANDLE_FILE_INFORMATION information{};
      if (!folder || !GetFileInformationByHandle(folder.Get(), &information) ||
          (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return false;
      folders_.push_back(std::move(folder));
    }
    if (ResolvedPathOf(held_.Get()) != resolved) return false;
    resolved_ = *resolved;
    return true;
  }

  // "C:\..." rather than "\\?\C:\...", which not every program takes.
  static std::optional<std::wstring> ResolvedPathOf(HANDLE file) {
    wchar_t path[MAX_PATH + 8];
    const DWORD length =
        GetFinalPathNameByHandleW(file, path, MAX_PATH + 8, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH + 8) return std::nullopt;
    std::wstring resolved(path, length);
    constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
    if (resolved.rfind(kLongPrefix, 0) == 0 && resolved.size() > 6 && resolved[5] == L':')
      resolved.erase(0, kLongPrefix.size());
    if (resolved.size() < 3 || resolved[1] != L':' || resolved.size() >= MAX_PATH)
      return std::nullopt;
    return resolved;
  }

  std::wstring path_;  // empty once moved from
  std::wstring resolved_;
  UniqueFileHandle held_;
  std::vector<UniqueFileHandle> folders_;
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
    case ConsentStart::Started: return EndOf(process.Get());
    case ConsentStart::Declined: return TaskChangeEnd::Declined;
    case ConsentStart::Failed: break;
  }
  return TaskChangeEnd::Failed;
}

TaskChangeEnd Change(HWND owner, const TaskChange& change) {
  const std::optional<SystemExe> schtasks = SystemExeNamed(kSchtasksExe);
  if (!schtasks) return TaskChangeEnd::Failed;
  // Without a prompt of its own: a second prompt would ask what the user
  // has not chosen. A copy with the full token starts at the next logon
  // and removes it then.
  if (!change.throughConsent && !change.legacyTaskName.empty())
    RunSchtasks(owner, *schtasks, 开机运行::DeleteTaskArguments(change.legacyTaskName), false);
  if (change.step != 开机运行::TaskStep::Create)
    return RunSchtasks(owner, *schtasks, 开机运行::DeleteTaskArguments(change.taskName),
                       change.throughConsent);
  const std::optional<DefinitionFile> file = DefinitionFile::Write(change.definition);
  if (!file) return TaskChangeEnd::Failed;
  task_change_mark::Set(change.step, file->Path());
  return RunSchtasks(owner, *schtasks, 开机运行::CreateTaskArguments(change.taskName, file->Path()),
                     change.throughConsent);
}

}  // namespace

bool ChangeTaskOnShellThread(HWND owner, TaskChange change, OnTaskChangeEnd ended) {
  task_change_mark::Set(change.step);
  const bool started =
      RunOnShellThread([owner, change = std::move(change), ended = std::move(ended)] {
        // The file is gone before the end is told.
        const TaskChangeEnd end = Change(owner, change);
        task_change_mark::Clear();
        ended(end);
      });
  if (!started) task_change_mark::Clear();
  return started;
}
