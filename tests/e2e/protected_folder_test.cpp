// The program as an administrator installs it for everyone, in a folder only
// administrators can change, started by a user whose file permissions hold:
// run by scripts/as-user.sh as an ordinary Unix user, with the folder it
// protected in LTS_PROTECTED_FOLDER and C:\e2e the user's own. And the same
// program in a folder of the user's own, as before.

#include <cstdio>

#include "product.h"
#include "settings/disk_ini_file_win32.h"
#include "settings/profile_text.h"
#include "autostart/registration.h"
#include "settings/settings.h"
#include "settings/settings_files_win32.h"

namespace e2e {
namespace {

constexpr wchar_t kTypedAddress[] = L"127.0.0.1";
constexpr int kTypedInterval = 7;

std::wstring ProtectedFolder() {
  wchar_t folder[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"LTS_PROTECTED_FOLDER", folder, MAX_PATH);
  return folder;
}

// A key as the program reads it back; "<none>" when the file or the key is
// missing.
std::wstring StoredValue(const std::wstring& iniPath, const wchar_t* section, const wchar_t* key) {
  DiskIniFile file(iniPath);
  const 定义::IniFileRead read = file.Read();
  if (read.state != 定义::IniFileState::Read) return L"<none>";
  return 定义::FindProfileValue(read.text, section, key).value_or(L"<none>");
}

void Print(const std::wstring& line) { std::printf("%s\n", ToCodePage(line, CP_UTF8).c_str()); }

class ProtectedFolderTest : public ProductTest {
 protected:
  void SetUp() override {
    ProductTest::SetUp();
    userIni_ = UsersOwnIniPath().value_or(L"");
    ASSERT_FALSE(userIni_.empty());
    // An earlier run's, with its folder, which the first save makes.
    DeleteFileW(userIni_.c_str());
    RemoveDirectoryW(userIni_.substr(0, userIni_.find_last_of(L'\\')).c_str());
  }

  void TypeAddressAndInterval() const {
    TypeAddress(kTypedAddress);
    SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, kTypedInterval);
  }

  bool WaitForStored(const std::wstring& iniPath, const wchar_t* section, const wchar_t* key,
                     const std::wstring& value) const {
    return WaitFor([&] { return StoredValue(iniPath, section, key) == value; });
  }

  bool BoxPressed() const {
    return SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  void PressTheBox() const {
    Click(ControlOf(id开机自动运行));
    ASSERT_TRUE(WaitFor([&] { return BoxPressed(); }));
  }

  // The user's typed values, saved as the test expects them: in iniPath.
  void ExpectTheTypedValuesIn(const std::wstring& iniPath) const {
    EXPECT_TRUE(WaitForStored(iniPath, L"系统配置", L"校时间隔", std::to_wstring(kTypedInterval)))
        << ToCodePage(StoredValue(iniPath, L"系统配置", L"校时间隔"), CP_UTF8);
    EXPECT_EQ(StoredValue(iniPath, L"网络配置", L"服务器路径"), kTypedAddress);
  }

  void PrintSchtasksCalls() const {
    for (const FakeNetCall& call : SchtasksCalls()) Print(L"  schtasks.exe saw: " + call.cmd);
  }

  std::wstring userIni_;
};

// Started with the filtered token from Program Files, where nothing but the
// user's own file can be written, pressed, then started at logon by the task
// with the full token: that copy keeps its task and what the user typed.
TEST_F(ProtectedFolderTest, TheUsersSettingsAndLogonTaskOutliveTheFirstLogon) {
  const std::wstring folder = ProtectedFolder();
  ASSERT_FALSE(folder.empty()) << "run through scripts/as-user.sh --protect";
  const std::wstring installed = folder + L"\\LanTimeSync.exe";
  const std::wstring preset = 定义::IniPath(folder);
  ASSERT_TRUE(FileExists(installed));
  ASSERT_FALSE(FileExists(preset));

  token_ = FilteredToken();
  ASSERT_TRUE(token_);
  StartInstalled(installed);
  WaitUntilShown();
  TypeAddressAndInterval();
  ExpectTheTypedValuesIn(userIni_);
  EXPECT_EQ(TooltipOf(id网络时间), L"") << "no notice: the save went through";
  PressTheBox();
  ASSERT_TRUE(WaitFor([&] { return !SchtasksCalls().empty(); }));
  EXPECT_NE(SchtasksCalls()[0].cmd.find(L"/create"), std::wstring::npos);
  EXPECT_TRUE(WaitForStored(userIni_, L"系统配置", L"开机自动运行", L"1"));
  EXPECT_FALSE(FileExists(preset)) << "nothing is written beside the exe";
  CloseAndWait();

  token_.Reset();
  StartInstalled(installed);
  EXPECT_TRUE(WaitForText(id服务器路径, kTypedAddress))
      << ToCodePage(TextOf(id服务器路径), CP_UTF8);
  EXPECT_TRUE(WaitFor(
      [&] { return SendMessageW(ControlOf(id滚动条), SBM_GETPOS, 0, 0) == kTypedInterval; }));
  EXPECT_TRUE(WaitFor([&] { return BoxPressed(); }));
  // The full token renews its task at start, directly; a delete would come
  // in the same way, at once.
  EXPECT_TRUE(WaitFor([&] { return SchtasksCalls().size() >= 2; }));
  Sleep(1000);
  Print(L"full-token start: 服务器路径=" + TextOf(id服务器路径) + L" 滚动条=" +
        std::to_wstring(SendMessageW(ControlOf(id滚动条), SBM_GETPOS, 0, 0)) + L" 开机自动运行=" +
        (BoxPressed() ? L"pressed" : L"up"));
  PrintSchtasksCalls();
  for (const FakeNetCall& call : SchtasksCalls())
    EXPECT_EQ(call.cmd.find(L"/delete"), std::wstring::npos) << ToCodePage(call.cmd, CP_UTF8);
}

// A folder the user may change (here C:\e2e\..., made by the user): one
// 配置.INI beside the exe as ever, and no logon task that could start a
// program swapped in there with full rights, only the Run value.
TEST_F(ProtectedFolderTest, InAFolderOfTheUsersOwnTheFileStaysBesideTheExeAndTheBoxIsTheRunValue) {
  token_ = FilteredToken();
  ASSERT_TRUE(token_);
  Start();
  WaitUntilShown();
  TypeAddressAndInterval();
  ExpectTheTypedValuesIn(IniPath());
  EXPECT_FALSE(FileExists(userIni_));
  PressTheBox();
  const std::wstring rule =
      开机运行::RegistrationReason(开机运行::RegistrationProblem::ExeUnprotected);
  EXPECT_TRUE(WaitFor([&] { return TooltipOf(id网络时间) == rule; }))
      << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
  EXPECT_TRUE(WaitForStored(IniPath(), L"系统配置", L"开机自动运行", L"1"));
  const auto runValue =
      RunValue(HKEY_LOCAL_MACHINE) ? RunValue(HKEY_LOCAL_MACHINE) : RunValue(HKEY_CURRENT_USER);
  EXPECT_EQ(runValue, exe_);
  Print(L"own folder: Run value " + runValue.value_or(L"<none>"));
  PrintSchtasksCalls();
  for (const FakeNetCall& call : SchtasksCalls())
    EXPECT_EQ(call.cmd.find(L"/create"), std::wstring::npos) << ToCodePage(call.cmd, CP_UTF8);
}

}  // namespace
}  // namespace e2e
