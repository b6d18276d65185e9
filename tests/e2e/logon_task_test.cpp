// The logon task as the program registers and removes it, with the stand-in
// schtasks.exe: started directly, as an elevated copy does, and through the
// consent route, which Wine passes without a prompt. Run under Wine's heap
// checker (scripts/heap-checked.sh).

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>

#include "settings/exe_protection_win32.h"
#include "settings/logon_task.h"
#include "settings/logon_task_win32.h"
#include "support/fake_net_log.h"
#include "support/fake_net_protocol.h"
#include "support/files.h"
#include "support/text.h"
#include "win32/system_exe.h"
#include "win32/text_encoding.h"
#include "win32/unique_handle.h"

namespace {

using 开机运行::TaskChangeEnd;
using 开机运行::TaskStep;

const std::wstring kTaskName = 开机运行::LogonTaskName(L"局域网时间同步软件", L"PC\\Admin");
const std::wstring kDefinition = 开机运行::LogonTaskXml(
    {kTaskName, L"PC\\Admin", L"C:\\Program Files\\A & B <C>\\同步 工具\\LanTimeSync.exe"});

// Shared with the consent thread, which may come after the test has
// stopped waiting for it.
struct End {
  UniqueKernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<TaskChangeEnd> end{TaskChangeEnd::Done};
};

// The part of a command line between `before` and the next quote.
std::wstring QuotedAfter(const std::wstring& commandLine, const std::wstring& before) {
  const auto begin = commandLine.find(before);
  if (begin == std::wstring::npos) return L"";
  const auto start = begin + before.size();
  return commandLine.substr(start, commandLine.find(L'"', start) - start);
}

class LogonTaskTest : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(e2e::InstallStandIn(kSchtasksExe).empty());
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    log_ = std::wstring(temp) + L"logon_task_test.log";
    TearDown();
    SetEnvironmentVariableW(e2e::kFakeSchtasksLogVar, log_.c_str());
    SetEnvironmentVariableW(e2e::kFakeSchtasksExitVar, L"0");
  }
  void TearDown() override {
    DeleteFileW(log_.c_str());
    DeleteFileW(XmlCopy().c_str());
  }

  std::wstring XmlCopy() const { return log_ + e2e::kFakeSchtasksXmlCopySuffix; }
  std::wstring Schtasks() const { return SystemExeNamed(kSchtasksExe)->application; }

  std::optional<TaskChangeEnd> Change(TaskStep step) {
    const auto end = std::make_shared<End>();
    const TaskChange change{step, kTaskName, step == TaskStep::Create ? kDefinition : L"",
                            GetParam()};
    if (!StartTaskChange(nullptr, change, [end](TaskChangeEnd told) {
          end->end = told;
          SetEvent(end->event.Get());
        }))
      return std::nullopt;
    if (WaitForSingleObject(end->event.Get(), 20000) != WAIT_OBJECT_0) return std::nullopt;
    return end->end.load();
  }

  std::wstring log_;
};

TEST_P(LogonTaskTest, CreatingRunsSchtasksOnceWithTheDefinitionAndRemovesItsFile) {
  EXPECT_EQ(Change(TaskStep::Create), TaskChangeEnd::Done);
  const auto calls = e2e::ReadFakeNetLog(log_);
  ASSERT_EQ(calls.size(), 1u);
  const std::wstring file = QuotedAfter(calls[0].cmd, L"/xml \"");
  EXPECT_TRUE(e2e::EqualsIgnoreCase(
      calls[0].cmd, L"\"" + Schtasks() + L"\" " + 开机运行::CreateTaskArguments(kTaskName, file)))
      << ToCodePage(calls[0].cmd, CP_UTF8);
  EXPECT_EQ(e2e::ReadFileBytes(XmlCopy()), 开机运行::Utf16LeWithBom(kDefinition));
  EXPECT_FALSE(file.empty());
  EXPECT_FALSE(e2e::FileExists(file)) << "the definition file is left behind";
}

TEST_P(LogonTaskTest, DeletingRunsSchtasksWithTheTasksName) {
  EXPECT_EQ(Change(TaskStep::Delete), TaskChangeEnd::Done);
  const auto calls = e2e::ReadFakeNetLog(log_);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(e2e::EqualsIgnoreCase(
      calls[0].cmd, L"\"" + Schtasks() + L"\" " + 开机运行::DeleteTaskArguments(kTaskName)))
      << ToCodePage(calls[0].cmd, CP_UTF8);
  EXPECT_FALSE(e2e::FileExists(XmlCopy())) << "a deletion is given no definition";
}

TEST_P(LogonTaskTest, AFailingSchtasksIsAFailureAndItsFileIsGoneToo) {
  SetEnvironmentVariableW(e2e::kFakeSchtasksExitVar, L"1");
  EXPECT_EQ(Change(TaskStep::Create), TaskChangeEnd::Failed);
  const auto calls = e2e::ReadFakeNetLog(log_);
  ASSERT_EQ(calls.size(), 1u);
  const std::wstring file = QuotedAfter(calls[0].cmd, L"/xml \"");
  EXPECT_FALSE(file.empty());
  EXPECT_FALSE(e2e::FileExists(file));
  EXPECT_EQ(Change(TaskStep::Delete), TaskChangeEnd::Failed);
}

TEST_P(LogonTaskTest, LeavesTheHeapSound) {
  EXPECT_EQ(Change(TaskStep::Create), TaskChangeEnd::Done);
  EXPECT_NE(HeapValidate(GetProcessHeap(), 0, nullptr), FALSE);
}

// Wine keeps no permissions: every folder grants the user write and delete,
// so the check finds none protected, its own temporary folder least of all.
TEST(ExeProtectedFromUser, FindsAFolderTheUserMayWriteUnprotected) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"logon_task_test.folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring exe = folder + L"\\LanTimeSync.exe";
  ASSERT_TRUE(e2e::WriteFileBytes(exe, "MZ"));
  EXPECT_FALSE(ExeProtectedFromUser(exe, folder));
  DeleteFileW(exe.c_str());
  RemoveDirectoryW(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(Routes, LogonTaskTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& route) {
                           return route.param ? "ThroughConsent" : "Directly";
                         });

}  // namespace
