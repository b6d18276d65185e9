// The installer's story, with the real package and Windows Installer: an
// administrator rolls the program out silently with the server's address
// and interval, a user starts it from where it was installed, and later it is
// uninstalled while it runs. Installing needs administrator rights: run as
// root, in a prefix of its own (scripts/test.sh), with the stand-in
// schtasks.exe in the system folder.

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "installer/preset.h"
#include "autostart/run_key.h"
#include "settings/exe_location.h"
#include "autostart/logon_task.h"
#include "settings/settings.h"
#include "support/support.h"
#include "support/fake_net_protocol.h"
#include "ui/captions.h"
#include "ui/layout.h"
#include "win32/text_encoding.h"

namespace {

constexpr wchar_t kInstallFolder[] = L"LanTimeSync";
constexpr wchar_t kExeName[] = L"LanTimeSync.exe";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
// Windows Installer's own code for a failed install.
constexpr DWORD kInstallFailed = 1603;
constexpr UINT kChineseCodePage = 936;
constexpr DWORD kMsiexecMilliseconds = 120000;

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// The system's msiexec.exe with these arguments; its exit code.
DWORD Msiexec(const std::wstring& arguments) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  e2e::Process msiexec =
      e2e::Process::Launch(std::wstring(system) + L"\\msiexec.exe", {.arguments = arguments});
  if (!msiexec.Started() || !msiexec.WaitForExit(kMsiexecMilliseconds)) return ERROR_TIMEOUT;
  return msiexec.ExitCode().value_or(ERROR_TIMEOUT);
}

// The Apps entry of the program: its key under the Uninstall key, or empty.
std::wstring AppsEntry() {
  HKEY uninstall = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &uninstall) != ERROR_SUCCESS)
    return L"";
  std::wstring found;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = ARRAYSIZE(name);
    if (RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const std::wstring key = std::wstring(kUninstallKey) + L"\\" + name;
    if (e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, L"DisplayName") == kProgramName) found = key;
  }
  RegCloseKey(uninstall);
  return found;
}

// A text of the entry, REG_EXPAND_SZ (the uninstall command) as it stands.
std::wstring AppsValue(const std::wstring& entry, const wchar_t* name) {
  constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  wchar_t value[1024];
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, entry.c_str(), name, kTexts, nullptr, value, &bytes) !=
      ERROR_SUCCESS)
    return L"";
  return value;
}

// A task of the program's as Windows keeps it: a file named for it in the
// system's task folder.
void PlantTask(const std::wstring& name, const std::wstring& exe) {
  const std::wstring folder = KnownFolder(FOLDERID_System) + L"\\Tasks";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(e2e::WriteFileBytes(
      folder + L"\\" + name,
      开机运行::Utf16LeWithBom(开机运行::LogonTaskXml({name, L"VM\\someone", exe}))));
}

bool SetRunValue(HKEY root, const std::wstring& data) {
  return RegSetKeyValueW(root, kRunKey, 开机运行::kRunValueName, REG_SZ, data.c_str(),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SawDeleteOf(const std::vector<e2e::FakeNetCall>& calls, const std::wstring& task) {
  for (const auto& call : calls)
    if (call.cmd.ends_with(开机运行::DeleteTaskArguments(task))) return true;
  return false;
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(e2e::InstallStandIn(L"schtasks.exe").empty());
    const std::wstring work = e2e::FreshWorkDirForCurrentTest();
    ASSERT_FALSE(work.empty());
    schtasksLog_ = work + L"\\schtasks.log";
    SetEnvironmentVariableW(e2e::kFakeSchtasksLogVar, schtasksLog_.c_str());
    SetEnvironmentVariableW(e2e::kFakeSchtasksExitVar, L"0");
    failedLog_ = work + L"\\failed-install.log";
    // What an earlier run left.
    Msiexec(L"/x \"" + package_ + L"\" /qn");
    installDir_ = KnownFolder(FOLDERID_ProgramFilesX86) + L"\\" + kInstallFolder;
    installedExe_ = installDir_ + L"\\" + kExeName;
    userSettings_ = KnownFolder(FOLDERID_RoamingAppData) + L"\\" + 定义::kUserSettingsFolder + L"\\" +
                    定义::kIniFileName;
  }

  // The shortcut in the Start menu of all users or of this one.
  bool HasShortcut() const {
    const std::wstring link = std::wstring(L"\\") + kProgramName + L".lnk";
    return e2e::FileExists(KnownFolder(FOLDERID_CommonPrograms) + link) ||
           e2e::FileExists(KnownFolder(FOLDERID_Programs) + link);
  }

  const std::wstring package_ = e2e::BinFile(L"LanTimeSync.msi");
  std::wstring schtasksLog_, failedLog_, installDir_, installedExe_, userSettings_;
};

TEST_F(InstallerTest, SilentRolloutStartAndUninstall) {
  // A bad address stops the install, says why, and changes nothing.
  const installer::PresetValues bad{L"192.168.1.300.1", L"10"};
  EXPECT_EQ(Msiexec(L"/i \"" + package_ + L"\" /qn SERVERADDRESS=" + bad.address +
                    L" SYNCINTERVAL=" + bad.interval + L" /l*v \"" + failedLog_ + L"\""),
            kInstallFailed);
  const auto log = e2e::ReadFileBytes(failedLog_);
  ASSERT_TRUE(log);
  EXPECT_NE(FromCodePage(*log, kChineseCodePage).find(*installer::PresetProblem(bad)),
            std::wstring::npos);
  EXPECT_FALSE(e2e::FileExists(installDir_));
  EXPECT_EQ(AppsEntry(), L"");
  EXPECT_FALSE(HasShortcut());

  // The silent rollout.
  ASSERT_EQ(Msiexec(L"/i \"" + package_ + L"\" /qn SERVERADDRESS=127.0.0.1 SYNCINTERVAL=7"), 0u);
  ASSERT_TRUE(e2e::FileExists(installedExe_));
  EXPECT_TRUE(HasShortcut());
  const std::wstring entry = AppsEntry();
  ASSERT_NE(entry, L"");
  EXPECT_EQ(AppsValue(entry, L"Publisher"), L"LanTimeSync 开发组");
  EXPECT_NE(AppsValue(entry, L"DisplayVersion"), L"");
  EXPECT_EQ(AppsValue(entry, L"UninstallString").rfind(L"MsiExec.exe /X{", 0), 0u);

  // Started from where it was installed, it shows the rolled-out values.
  e2e::Process program = e2e::Process::Launch(installedExe_);
  ASSERT_TRUE(program.Started());
  const HWND window = e2e::WaitForTopWindow(program.Id(), {.className = kWindowClass});
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return e2e::WindowText(GetDlgItem(window, id服务器路径)) == L"127.0.0.1"; }));
  EXPECT_EQ(GetScrollPos(GetDlgItem(window, id滚动条), SB_CTL), 7);

  // What the program and its users leave: two administrators' logon tasks
  // (one under today's name, one under the name an earlier version gave),
  // the Run values of the machine and of this user, this user's settings.
  const std::wstring alice =
      开机运行::LogonTaskName(kProgramName, L"VM\\alice", L"S-1-5-21-7-8-9-1001");
  const std::wstring bob = 开机运行::LegacyLogonTaskName(kProgramName, L"VM\\bob");
  const std::wstring otherTask = L"Another program's task";
  for (const std::wstring& task : {alice, bob, otherTask}) PlantTask(task, installedExe_);
  const std::wstring runData = 开机运行::RunValueData(SplitExePath(installedExe_));
  ASSERT_TRUE(SetRunValue(HKEY_LOCAL_MACHINE, runData));
  ASSERT_TRUE(SetRunValue(HKEY_CURRENT_USER, runData));
  CreateDirectoryW((KnownFolder(FOLDERID_RoamingAppData) + L"\\" + 定义::kUserSettingsFolder).c_str(),
                   nullptr);
  const std::string userBytes =
      ToCodePage(L"[网络配置]\r\n服务器路径=127.0.0.2\r\n", kChineseCodePage);
  ASSERT_TRUE(e2e::WriteFileBytes(userSettings_, userBytes));

  // The uninstall, while the program runs.
  ASSERT_EQ(Msiexec(L"/x \"" + package_ + L"\" /qn"), 0u);
  EXPECT_TRUE(program.WaitForExit(e2e::kDefaultTimeoutMs));
  EXPECT_FALSE(e2e::FileExists(installDir_));
  EXPECT_FALSE(HasShortcut());
  EXPECT_EQ(AppsEntry(), L"");
  EXPECT_FALSE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, 开机运行::kRunValueName));
  EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, kRunKey, 开机运行::kRunValueName));
  const auto calls = e2e::ReadFakeNetLog(schtasksLog_);
  EXPECT_TRUE(SawDeleteOf(calls, alice));
  EXPECT_TRUE(SawDeleteOf(calls, bob));
  EXPECT_FALSE(SawDeleteOf(calls, otherTask));
  EXPECT_EQ(e2e::ReadFileBytes(userSettings_), userBytes);
}

}  // namespace
