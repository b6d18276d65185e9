// The logon task as the program registers and removes it, with the stand-in
// schtasks.exe: started directly, as an elevated copy does, and through the
// consent route, which Wine passes without a prompt. Run under Wine's heap
// checker (scripts/heap-checked.sh).

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>

#include "autostart/exe_protection_win32.h"
#include "autostart/logon_task.h"
#include "autostart/logon_task_win32.h"
#include "autostart/task_folder_win32.h"
#include "support/fake_net_log.h"
#include "support/fake_net_protocol.h"
#include "support/files.h"
#include "support/text.h"
#include "support/wait.h"
#include "win32/system_exe.h"
#include "win32/text_encoding.h"
#include "win32/unique_handle.h"

namespace {

using 开机运行::TaskChangeEnd;
using 开机运行::TaskStep;

const std::wstring kTaskName =
    开机运行::LogonTaskName(L"局域网时间同步软件", L"PC\\Admin", L"S-1-5-21-1-2-3-1001");
const std::wstring kDefinition = 开机运行::LogonTaskXml(
    {kTaskName, L"PC\\Admin", L"C:\\Program Files\\A & B <C>\\同步 工具\\LanTimeSync.exe"});

// Shared with the shell thread, which may come after the test has
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
  // The stand-in keeps a made task's file, as the real one does; a later
  // start of the product in this prefix would find it.
  void TearDown() override {
    DeleteFileW(log_.c_str());
    DeleteFileW(XmlCopy().c_str());
    DeleteFileW((TaskFolder() + L"\\" + kTaskName).c_str());
    SetEnvironmentVariableW(e2e::kFakeSchtasksBeforeVar, nullptr);
    SetEnvironmentVariableW(e2e::kFakeSchtasksBeforeDoneVar, nullptr);
  }

  std::wstring XmlCopy() const { return log_ + e2e::kFakeSchtasksXmlCopySuffix; }
  std::wstring Schtasks() const { return SystemExeNamed(kSchtasksExe)->application; }

  std::optional<TaskChangeEnd> Change(TaskStep step) {
    const auto end = std::make_shared<End>();
    const TaskChange change{step, kTaskName, L"", step == TaskStep::Create ? kDefinition : L"",
                            GetParam()};
    if (!ChangeTaskOnShellThread(nullptr, change, [end](TaskChangeEnd told) {
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

// Wine runs a Unix program by its path on drive Z:, and follows a Unix
// symbolic link as Windows follows a folder link; the link is re-pointed as
// another program of the user's may while the prompt is up. Wine gives no
// handle to wait for such a program: each script makes a file when done.
class UnixLinks {
 public:
  explicit UnixLinks(const std::wstring& folder) : folder_(folder) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return;
    if (char* unix = toUnix(folder.c_str())) {
      unixFolder_ = unix;
      HeapFree(GetProcessHeap(), 0, unix);
    }
    ready_ = !unixFolder_.empty() &&
             RunScript("rm -rf '" + unixFolder_ + "' && mkdir -p '" + unixFolder_ + "/tA' '" +
                       unixFolder_ + "/tB' && ln -s tA '" + unixFolder_ + "/jt'");
  }
  ~UnixLinks() {
    if (ready_) RunScript("rm -rf '" + unixFolder_ + "'");
  }

  bool Ready() const { return ready_; }
  std::wstring Link() const { return folder_ + L"\\jt"; }
  std::wstring DoneFile() const { return folder_ + L".done"; }
  // Points the link at tB, with a definition of its own under every name
  // the program's files have in tA.
  std::wstring RepointCommand() const {
    return ScriptCommand("cd '" + unixFolder_ +
                         "' && for f in tA/*; do echo '<Command>evil.exe</Command>' > "
                         "tB/${f#tA/}; done && ln -sfn tB jt");
  }

 private:
  std::wstring ScriptCommand(const std::string& script) const {
    const std::string done = " && touch '" + unixFolder_ + ".done'";
    return L"Z:\\bin\\sh -c \"" + ToWide(script + done) + L"\"";
  }
  bool RunScript(const std::string& script) const {
    DeleteFileW(DoneFile().c_str());
    std::wstring commandLine = ScriptCommand(script);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
      return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    const bool done = e2e::WaitFor(
        [&] { return GetFileAttributesW(DoneFile().c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileW(DoneFile().c_str());
    return done;
  }
  static std::wstring ToWide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
  }

  std::wstring folder_;
  std::string unixFolder_;
  bool ready_ = false;
};

TEST_P(LogonTaskTest, WhatSchtasksReadsIsWhatWasCheckedThoughTheLinkIsRepointed) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const UnixLinks links(std::wstring(temp) + L"logon_task_test.links");
  if (!links.Ready()) GTEST_SKIP() << "needs Wine's Unix links";
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", links.Link().c_str()));
  SetEnvironmentVariableW(e2e::kFakeSchtasksBeforeVar, links.RepointCommand().c_str());
  SetEnvironmentVariableW(e2e::kFakeSchtasksBeforeDoneVar, links.DoneFile().c_str());
  const std::optional<TaskChangeEnd> end = Change(TaskStep::Create);
  SetEnvironmentVariableW(L"TMP", temp);
  EXPECT_EQ(end, TaskChangeEnd::Done);
  EXPECT_EQ(e2e::ReadFileBytes(XmlCopy()), 开机运行::Utf16LeWithBom(kDefinition));
  const auto calls = e2e::ReadFakeNetLog(log_);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(QuotedAfter(calls[0].cmd, L"/xml \"").find(links.Link()), std::wstring::npos)
      << "the path still goes through the link";
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
