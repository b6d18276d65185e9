#include "autostart/run_key.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/settings.h"

namespace {

using 开机运行::RunKeyHive;

struct PathCase {
  const wchar_t* modulePath;
  const wchar_t* iniPath;
  const wchar_t* runValueData;
};

class ExePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(ExePathTest, BuildsTheIniPathAndTheRunValue) {
  const ExeLocation exe = SplitExePath(GetParam().modulePath);
  EXPECT_EQ(定义::IniPath(exe.directory), GetParam().iniPath);
  EXPECT_EQ(开机运行::RunValueData(exe), GetParam().runValueData);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExePathTest,
    testing::Values(
        PathCase{L"C:\\Tools\\prog.exe", L"C:\\Tools\\配置.INI", L"C:\\Tools\\prog.exe"},
        // At a drive's root the settings path has one backslash, the Run
        // value the two its plain concatenation gives.
        PathCase{L"E:\\prog.exe", L"E:\\配置.INI", L"E:\\\\prog.exe"},
        PathCase{L"C:\\Program Files\\LAN Sync\\prog.exe", L"C:\\Program Files\\LAN Sync\\配置.INI",
                 L"\"C:\\Program Files\\LAN Sync\\prog.exe\""},
        PathCase{L"D:\\工具\\PROG.EXE", L"D:\\工具\\配置.INI", L"D:\\工具\\PROG.exe"},
        PathCase{L"D:\\a.b\\sync.v2.exe", L"D:\\a.b\\配置.INI", L"D:\\a.b\\sync.v2.exe"},
        PathCase{L"\\\\server\\share\\prog.exe", L"\\\\server\\share\\配置.INI",
                 L"\\\\server\\share\\prog.exe"}));

TEST(RunValueData, Needs18BytesWithItsTerminatorForC_Tools_prog) {
  const std::wstring data = 开机运行::RunValueData({L"C:\\Tools", L"prog"});
  EXPECT_EQ(data.size() + 1, 18u);
}

TEST(SetAutostart, WritesMachineWideWhenAllowed) {
  FakeRunKey runKey;
  开机运行::SetAutostart(true, runKey, L"C:\\Tools\\prog.exe");
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), L"C:\\Tools\\prog.exe");
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), std::nullopt);

  开机运行::SetAutostart(true, runKey, L"C:\\Tools\\prog.exe");
  EXPECT_EQ(runKey.values[RunKeyHive::LocalMachine].size(), 1u);
}

TEST(SetAutostart, FallsBackToThisUserWithoutTheRightToWriteMachineWide) {
  FakeRunKey runKey;
  runKey.machineWritable = false;
  开机运行::SetAutostart(true, runKey, L"C:\\Tools\\prog.exe");
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), L"C:\\Tools\\prog.exe");

  开机运行::SetAutostart(false, runKey, L"C:\\Tools\\prog.exe");
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), std::nullopt);
}

TEST(SetAutostart, DisablingRemovesTheValueFromBothKeysAndNothingElse) {
  FakeRunKey runKey;
  runKey.values[RunKeyHive::LocalMachine][开机运行::kRunValueName] = L"a";
  runKey.values[RunKeyHive::CurrentUser][开机运行::kRunValueName] = L"b";
  runKey.values[RunKeyHive::LocalMachine][L"Other"] = L"c";
  开机运行::SetAutostart(false, runKey, L"a");
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), std::nullopt);
  EXPECT_EQ(runKey.values[RunKeyHive::LocalMachine].count(L"Other"), 1u);
}

TEST(SetAutostart, MachineWideWriteClearsAPerUserLeftover) {
  FakeRunKey runKey;
  runKey.values[RunKeyHive::CurrentUser][开机运行::kRunValueName] = L"old";
  开机运行::SetAutostart(true, runKey, L"new");
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), L"new");
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), std::nullopt);
}

}  // namespace
