// The start-with-Windows box of an administrator whom UAC splits, as Wine
// shows it: Wine keeps no file permissions, so every folder is one the user
// could change, no logon task may start the program from it, and the Run
// value stays the registration. The protected case is unit-tested with fakes.

#include "product.h"
#include "autostart/account_win32.h"
#include "autostart/logon_task.h"
#include "autostart/logon_task_win32.h"
#include "autostart/registration.h"
#include "autostart/task_change_mark_win32.h"
#include "win32/system_exe.h"

namespace e2e {
namespace {

class AutostartTest : public ProductTest {
 protected:
  void StartAndPressTheBox() {
    Start();
    WaitUntilShown();
    Click(ControlOf(id开机自动运行));
    ASSERT_TRUE(WaitFor(
        [&] { return SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  }

  void ExpectTheRunValueAndTheFolderRule() {
    const std::wstring rule =
        开机运行::RegistrationReason(开机运行::RegistrationProblem::ExeUnprotected);
    EXPECT_TRUE(WaitFor([&] { return TooltipOf(id网络时间) == rule; }))
        << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), exe_);
    for (const FakeNetCall& call : SchtasksCalls())
      EXPECT_EQ(call.cmd.find(L"/create"), std::wstring::npos) << ToCodePage(call.cmd, CP_UTF8);
  }
};

TEST_F(AutostartTest, AFilteredAdministratorsPressWritesTheRunValueAndTellsTheFolderRule) {
  token_ = FilteredToken();
  ASSERT_TRUE(token_);
  StartAndPressTheBox();
  ExpectTheRunValueAndTheFolderRule();
  EXPECT_TRUE(SchtasksCalls().empty()) << "a filtered copy leaves the task alone at start";
}

// The task of the name two accounts could share goes too. The stand-in
// schtasks.exe keeps the task's file as the real one does: a start that
// finds neither name's file starts no schtasks.exe at all.
TEST_F(AutostartTest, AFullTokenStartWithTheBoxUntickedRemovesItsOwnTaskDirectlyWhereItIs) {
  const std::optional<std::wstring> account = ReadAccountName(), sid = ReadAccountSid();
  ASSERT_TRUE(account && sid);
  const std::wstring legacy = 开机运行::LegacyLogonTaskName(kProgramName, *account);
  const std::wstring named = 开机运行::LogonTaskName(kProgramName, *account, *sid);
  const std::wstring taskFolder = SystemExeNamed(kSchtasksExe)->directory + L"\\Tasks";
  CreateDirectoryW(taskFolder.c_str(), nullptr);
  for (const std::wstring& task : {legacy, named})
    ASSERT_TRUE(WriteFileBytes(taskFolder + L"\\" + task, "<Task/>"));
  Start();
  WaitUntilShown();
  ASSERT_TRUE(WaitFor([&] { return SchtasksCalls().size() == 2; }));
  const auto calls = SchtasksCalls();
  const std::wstring schtasks = L"\"" + SystemExeNamed(kSchtasksExe)->application + L"\" ";
  EXPECT_TRUE(EqualsIgnoreCase(calls[0].cmd, schtasks + 开机运行::DeleteTaskArguments(legacy)))
      << ToCodePage(calls[0].cmd, CP_UTF8);
  EXPECT_TRUE(EqualsIgnoreCase(calls[1].cmd, schtasks + 开机运行::DeleteTaskArguments(named)))
      << ToCodePage(calls[1].cmd, CP_UTF8);
  for (const FakeNetCall& call : calls) EXPECT_FALSE(call.useShow);
  for (const std::wstring& task : {legacy, named})
    EXPECT_FALSE(FileExists(taskFolder + L"\\" + task));
  CloseAndWait();

  Start();
  WaitUntilShown();
  EXPECT_FALSE(WaitFor([&] { return SchtasksCalls().size() > 2; }, 2000))
      << ToCodePage(SchtasksCalls().back().cmd, CP_UTF8);
}

// What a close during a press's create leaves behind: the box pressed in
// 配置.INI, the mark of the change, its definition file. A filtered start
// cannot know whether the task was made: it writes the Run value as after a
// failed create, says why, and removes the file.
TEST_F(AutostartTest, AFilteredStartAfterACreateCutShortWritesTheRunValueAndTellsWhy) {
  constexpr UINT kIconId = 1;
  WriteIni(IniFileBytes(L"127.0.0.1", 1, 30));
  wchar_t temp[MAX_PATH], definition[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  ASSERT_NE(GetTempFileNameW(temp, L"lts", 0, definition), 0u);
  task_change_mark::Set(开机运行::TaskStep::Create, definition);
  token_ = FilteredToken();
  ASSERT_TRUE(token_);
  Start();
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), exe_);
  const std::wstring reason =
      开机运行::RegistrationReason(开机运行::RegistrationProblem::CreateCutShort);
  EXPECT_TRUE(WaitFor([&] { return TooltipOf(id网络时间) == reason; }))
      << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
  EXPECT_FALSE(FileExists(definition)) << "the definition file is left behind";
  EXPECT_TRUE(SchtasksCalls().empty()) << "no prompt at a start";
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"127.0.0.1", 1, 30));
}

// The copy with full rights settles a release a close cut short by its own
// load, and removes the file the account's own copy left.
TEST_F(AutostartTest, AFullTokenStartAfterADeleteCutShortDeletesTheTaskAndRemovesTheFile) {
  wchar_t temp[MAX_PATH], definition[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  ASSERT_NE(GetTempFileNameW(temp, L"lts", 0, definition), 0u);
  task_change_mark::Set(开机运行::TaskStep::Delete, definition);
  Start();
  WaitUntilShown();
  // Its own task only: no task under the name without the SID is there.
  ASSERT_TRUE(WaitFor([&] { return SchtasksCalls().size() == 1; }));
  EXPECT_NE(SchtasksCalls()[0].cmd.find(L"/delete"), std::wstring::npos);
  EXPECT_TRUE(WaitFor([&] { return !FileExists(definition); }));
  EXPECT_EQ(TooltipOf(id网络时间), L"");
}

// The consent route starts schtasks.exe with a show-window flag; the direct
// one, which the full token takes, with none.
TEST_F(AutostartTest, TheFullTokensPressDoesTheSameWithoutThePromptsRoute) {
  StartAndPressTheBox();
  ExpectTheRunValueAndTheFolderRule();
  for (const FakeNetCall& call : SchtasksCalls())
    EXPECT_FALSE(call.useShow) << ToCodePage(call.cmd, CP_UTF8);
}

}  // namespace
}  // namespace e2e
