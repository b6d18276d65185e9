// The package's own actions, where Windows Installer's standard ones fall
// short: checking the values of a silent install, writing them into the
// preset, ending running copies, and removing what the program registered
// and the preset at an uninstall. Windows Installer unpacks this DLL from the
// package into its own folder and loads it in a host process of its own, so
// nothing runs from a folder the user's programs may write. Every action
// but the check is deferred without impersonation: it runs with the
// installer's full rights, and gets its values through CustomActionData.

#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "installer/preset.h"
#include "autostart/run_key.h"
#include "settings/disk_ini_file_win32.h"
#include "settings/exe_location.h"
#include "autostart/logon_task_win32.h"
#include "autostart/run_key_win32.h"
#include "autostart/task_folder_win32.h"
#include "settings/settings.h"
#include "win32/unique_handle.h"

namespace {

constexpr wchar_t kExeName[] = L"LanTimeSync.exe";
constexpr wchar_t kAddressProperty[] = L"SERVERADDRESS";
constexpr wchar_t kIntervalProperty[] = L"SYNCINTERVAL";
// Separates the values in CustomActionData: no path, and no address or
// interval that passed the check, holds it.
constexpr wchar_t kDataSeparator = L'|';
constexpr DWORD kProcessEndMilliseconds = 10000;
constexpr DWORD kSchtasksEndMilliseconds = 70000;

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  DWORD length = 0;
  wchar_t empty[1] = L"";
  if (MsiGetPropertyW(install, name, empty, &length) != ERROR_MORE_DATA) return L"";
  std::wstring value(++length, L'\0');
  if (MsiGetPropertyW(install, name, value.data(), &length) != ERROR_SUCCESS) return L"";
  value.resize(length);
  return value;
}

std::vector<std::wstring> ActionData(MSIHANDLE install) {
  const std::wstring data = Property(install, L"CustomActionData");
  std::vector<std::wstring> parts;
  std::size_t begin = 0;
  for (std::size_t end; (end = data.find(kDataSeparator, begin)) != std::wstring::npos;
       begin = end + 1)
    parts.push_back(data.substr(begin, end - begin));
  parts.push_back(data.substr(begin));
  return parts;
}

// The installed folder as Windows Installer gives it, with its closing "\".
std::wstring InstalledExe(const std::wstring& installDir) { return installDir + kExeName; }

// Shown in a message box with a user interface, and in the log in every case.
void ReportError(MSIHANDLE install, const std::wstring& text) {
  PMSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, text.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK), record);
}

// The same file, however its path is spelt (short names, letter case).
struct FileIdentity {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const wchar_t* path) {
  const UniqueFileHandle file(CreateFileW(path, 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !GetFileInformationByHandle(file.Get(), &information)) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                      information.nFileIndexLow};
}

// Ends the process when it runs the installed exe; a copy elsewhere is left.
void EndIfRunning(DWORD processId, const FileIdentity& installed) {
  const UniqueKernelHandle process(OpenProcess(
      PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (!process) return;
  wchar_t image[MAX_PATH * 2];
  DWORD length = ARRAYSIZE(image);
  if (!QueryFullProcessImageNameW(process.Get(), 0, image, &length)) return;
  if (IdentityOf(image) != installed) return;
  // Its settings are saved as they change, each save whole or not at all,
  // so ending it loses nothing.
  if (TerminateProcess(process.Get(), 1))
    WaitForSingleObject(process.Get(), kProcessEndMilliseconds);
}

// Tasks the program made: in the root folder, named for it.
std::vector<std::wstring> ProgramTaskNames() {
  std::vector<std::wstring> names;
  const std::wstring folder = TaskFolder();
  if (folder.empty()) return names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        installer::IsProgramTaskName(found.cFileName))
      names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Through the system's schtasks.exe, as the program deletes its own task.
void DeleteTask(const std::wstring& name) {
  const UniqueKernelHandle ended(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE signal = ended.Get();
  const TaskChange change{开机运行::TaskStep::Delete, name, L"", L"", /*throughConsent=*/false};
  if (ChangeTaskOnShellThread(nullptr, change,
                              [signal](开机运行::TaskChangeEnd) { SetEvent(signal); }))
    WaitForSingleObject(signal, kSchtasksEndMilliseconds);
}

// Each signed-in user's hive, the classes hives aside.
std::vector<std::wstring> LoadedUserHives() {
  std::vector<std::wstring> hives;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = ARRAYSIZE(name);
    if (RegEnumKeyExW(HKEY_USERS, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      return hives;
    const std::wstring hive(name, length);
    if (!hive.ends_with(L"_Classes")) hives.push_back(hive);
  }
}

void RemoveRunValues(const std::wstring& installedExe) {
  const std::wstring data = 开机运行::RunValueData(SplitExePath(installedExe));
  for (const std::wstring& hive : LoadedUserHives()) {
    UniqueKey user;
    if (RegOpenKeyExW(HKEY_USERS, hive.c_str(), 0, KEY_READ | KEY_SET_VALUE, user.Put()) !=
        ERROR_SUCCESS)
      continue;
    RegistryRunKey runKey(user.Get());
    开机运行::RemoveOwnAutostart(runKey, data);
  }
}

}  // namespace

// Immediate, before anything changes: a bad value stops the install here.
extern "C" __declspec(dllexport) UINT __stdcall CheckPresetValues(MSIHANDLE install) {
  const auto problem = installer::PresetProblem(
      {Property(install, kAddressProperty), Property(install, kIntervalProperty)});
  if (!problem) return ERROR_SUCCESS;
  ReportError(install, *problem);
  return ERROR_INSTALL_FAILURE;
}

// CustomActionData: the installed folder, the address, the interval.
extern "C" __declspec(dllexport) UINT __stdcall WritePreset(MSIHANDLE install) {
  const auto data = ActionData(install);
  if (data.size() != 3) return ERROR_INSTALL_FAILURE;
  DiskIniFile preset(定义::IniPath(SplitExePath(InstalledExe(data[0])).directory));
  const auto failure = installer::WritePreset(preset, {data[1], data[2]});
  if (!failure) return ERROR_SUCCESS;
  ReportError(install, L"没能写入预设的 配置.INI。" + 定义::NotSavedNotice(*failure));
  return ERROR_INSTALL_FAILURE;
}

// CustomActionData: the installed folder. Copies of every user, in every
// session, that run the installed exe.
extern "C" __declspec(dllexport) UINT __stdcall EndRunningCopies(MSIHANDLE install) {
  const auto installed = IdentityOf(InstalledExe(ActionData(install)[0]).c_str());
  if (!installed) return ERROR_SUCCESS;
  const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  if (!snapshot || !Process32FirstW(snapshot.Get(), &entry)) return ERROR_SUCCESS;
  do {
    if (lstrcmpiW(entry.szExeFile, kExeName) == 0) EndIfRunning(entry.th32ProcessID, *installed);
  } while (Process32NextW(snapshot.Get(), &entry));
  return ERROR_SUCCESS;
}

// CustomActionData: the installed folder. Every administrator's logon task,
// and the Run values that start the installed exe, of the machine and of
// each signed-in user.
extern "C" __declspec(dllexport) UINT __stdcall RemoveRegistrations(MSIHANDLE install) {
  for (const std::wstring& name : ProgramTaskNames()) DeleteTask(name);
  RemoveRunValues(InstalledExe(ActionData(install)[0]));
  return ERROR_SUCCESS;
}

// CustomActionData: the installed folder. The preset, and a new one a save
// left half made; the users' own settings files stay.
extern "C" __declspec(dllexport) UINT __stdcall RemovePreset(MSIHANDLE install) {
  const std::wstring preset =
      定义::IniPath(SplitExePath(InstalledExe(ActionData(install)[0])).directory);
  DeleteFileW(preset.c_str());
  DeleteFileW((preset + L".tmp").c_str());
  return ERROR_SUCCESS;
}
