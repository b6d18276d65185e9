#include "autostart/logon_task.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace 开机运行;

const LogonTask kTask{L"局域网时间同步软件 (PC_Admin)", L"PC\\Admin",
                      L"C:\\Program Files\\A & B <C>\\同步 工具\\LanTimeSync.exe"};

using TextList = std::vector<std::wstring>;

// The text of every element of that name, in order.
TextList Texts(const std::wstring& xml, const std::wstring& name) {
  TextList texts;
  const std::wstring open = L"<" + name + L">", close = L"</" + name + L">";
  for (auto begin = xml.find(open); begin != std::wstring::npos; begin = xml.find(open, begin)) {
    begin += open.size();
    texts.push_back(xml.substr(begin, xml.find(close, begin) - begin));
  }
  return texts;
}

TEST(LogonTaskXml, IsSchema12DeclaredAsUtf16) {
  const std::wstring xml = LogonTaskXml(kTask);
  EXPECT_EQ(xml.rfind(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", 0), 0u);
  EXPECT_NE(xml.find(L"<Task version=\"1.2\" "
                     L"xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"),
            std::wstring::npos);
}

TEST(LogonTaskXml, StartsAtThisUsersLogonWithTheFullTokenAndNeverStops) {
  const std::wstring xml = LogonTaskXml(kTask);
  EXPECT_EQ(Texts(xml, L"LogonTrigger").size(), 1u);
  EXPECT_EQ(Texts(xml, L"UserId"), (TextList{L"PC\\Admin", L"PC\\Admin"}));  // trigger, principal
  EXPECT_EQ(Texts(xml, L"LogonType"), TextList{L"InteractiveToken"});
  EXPECT_EQ(Texts(xml, L"RunLevel"), TextList{L"HighestAvailable"});
  EXPECT_EQ(Texts(xml, L"DisallowStartIfOnBatteries"), TextList{L"false"});
  EXPECT_EQ(Texts(xml, L"StopIfGoingOnBatteries"), TextList{L"false"});
  EXPECT_EQ(Texts(xml, L"ExecutionTimeLimit"), TextList{L"PT0S"});
  EXPECT_EQ(Texts(xml, L"MultipleInstancesPolicy"), TextList{L"IgnoreNew"});
}

// Without it the task runs at 7, below normal, as background work does.
TEST(LogonTaskXml, RunsAtTheNormalPriorityOfAnInteractiveProgram) {
  const TextList priority = Texts(LogonTaskXml(kTask), L"Priority");
  ASSERT_EQ(priority.size(), 1u);
  const int level = std::stoi(priority[0]);
  EXPECT_GE(level, 4);
  EXPECT_LE(level, 6);
}

TEST(LogonTaskXml, RunsTheExeQuotedAndEscapedAsItsOneAction) {
  const std::wstring xml = LogonTaskXml(kTask);
  EXPECT_EQ(Texts(xml, L"Exec").size(), 1u);
  EXPECT_EQ(Texts(xml, L"Command"),
            TextList{L"\"C:\\Program Files\\A &amp; B &lt;C&gt;\\同步 工具\\LanTimeSync.exe\""});
  EXPECT_EQ(Texts(xml, L"Arguments").size(), 0u);
}

TEST(LogonTaskXml, AnAccountNameCannotAddAnElement) {
  const std::wstring xml = LogonTaskXml({L"t", L"PC\\A&B</UserId><X>", L"C:\\p.exe"});
  EXPECT_EQ(Texts(xml, L"UserId")[0], L"PC\\A&amp;B&lt;/UserId&gt;&lt;X&gt;");
  EXPECT_EQ(Texts(xml, L"X").size(), 0u);
}

TEST(LogonTaskName, IsTheProgramsTheUsersAndTheSidsWithoutAFolder) {
  EXPECT_EQ(LogonTaskName(L"局域网时间同步软件", L"PC\\Admin", L"S-1-5-21-1-2-3-1001"),
            L"局域网时间同步软件 (PC_Admin S-1-5-21-1-2-3-1001)");
  EXPECT_EQ(LegacyLogonTaskName(L"局域网时间同步软件", L"PC\\Admin"),
            L"局域网时间同步软件 (PC_Admin)");
}

// The two accounts the old name could not tell apart, and any pair of SIDs.
TEST(LogonTaskName, DiffersForEveryTwoAccounts) {
  EXPECT_EQ(LegacyLogonTaskName(L"P", L"PC\\a_b"), LegacyLogonTaskName(L"P", L"PC_a\\b"));
  EXPECT_NE(LogonTaskName(L"P", L"PC\\a_b", L"S-1-5-21-9-1001"),
            LogonTaskName(L"P", L"PC_a\\b", L"S-1-5-21-8-1001"));
  EXPECT_NE(LogonTaskName(L"P", L"PC\\a", L"S-1-5-21-9-1001"),
            LogonTaskName(L"P", L"PC\\a", L"S-1-5-21-9-10011"));
  for (const auto& sid : {L"S-1-5-21-1", L"S-1-5-18"})
    EXPECT_EQ(LogonTaskName(L"局域网时间同步软件", L"x", sid).rfind(L"局域网时间同步软件 (", 0), 0u)
        << "the installer finds the program's tasks by this beginning";
}

TEST(TaskCommandFit, RefusesAPercentAndAPathTheCommandCannotHold) {
  EXPECT_EQ(TaskCommandFit(L"C:\\Program Files\\工具\\LanTimeSync.exe"), ExeForTask::Fit);
  EXPECT_EQ(TaskCommandFit(L"C:\\Program Files\\100%X%Tools\\LanTimeSync.exe"),
            ExeForTask::PercentInPath);
  EXPECT_EQ(TaskCommandFit(L"C:\\%\\a.exe"), ExeForTask::PercentInPath);
  const std::wstring stem = L"C:\\" + std::wstring(240, L'a') + L"\\";
  const std::wstring longest = stem + std::wstring(258 - stem.size() - 4, L'b') + L".exe";
  EXPECT_EQ(longest.size(), 258u);
  EXPECT_EQ(TaskCommandFit(longest), ExeForTask::Fit) << "260 with its quotes";
  EXPECT_EQ(TaskCommandFit(L"b" + longest), ExeForTask::PathTooLong);
}

TEST(Utf16LeWithBom, WritesTheMarkThenLittleEndianUnitsAndPairs) {
  EXPECT_EQ(Utf16LeWithBom(L"A中\U0001F600"), std::string("\xFF\xFE"
                                                          "A\0"
                                                          "\x2D\x4E"
                                                          "\x3D\xD8\x00\xDE",
                                                          10));
}

TEST(TaskArguments, QuoteTheNameAndTheFile) {
  EXPECT_EQ(CreateTaskArguments(L"同步 (PC_A)", L"C:\\Temp\\lts1.tmp"),
            L"/create /tn \"同步 (PC_A)\" /xml \"C:\\Temp\\lts1.tmp\" /f");
  EXPECT_EQ(DeleteTaskArguments(L"同步 (PC_A)"), L"/delete /tn \"同步 (PC_A)\" /f");
}

}  // namespace
