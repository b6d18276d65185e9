#include "settings/settings.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

constexpr wchar_t kNetwork[] = L"网络配置";
constexpr wchar_t kSystem[] = L"系统配置";

// Controls that take what the real ones take and record what was set.
class FakeControls final : public 定义::SettingsControls {
 public:
  std::wstring address = L"192.168.1.1";
  int autostart = 0, interval = 30;

  std::wstring 服务器路径Text() const override { return address; }
  void Load服务器路径Text(const std::wstring& text) override { address = text; }
  int 开机自动运行Value() const override { return autostart; }
  bool Load开机自动运行Value(int value) override {
    if (value < 0 || value > 2) return false;
    autostart = value;
    return true;
  }
  int 滚动条Value() const override { return interval; }
  bool Load滚动条Value(int value) override {
    if (value < 0 || value > 100) return false;
    interval = value;
    return true;
  }
};

class LoadSettingsUnread : public testing::TestWithParam<定义::IniFileState> {};

TEST_P(LoadSettingsUnread, TouchesNothing) {
  FakeIniFile file;
  file.state = GetParam();
  file.values[{kNetwork, L"服务器路径"}] = L"10.0.0.1";
  file.values[{kSystem, L"校时间隔"}] = L"10";
  FakeControls controls;
  EXPECT_EQ(定义::LoadSettings(file, controls).state, GetParam());
  EXPECT_EQ(controls.address, L"192.168.1.1");
  EXPECT_EQ(controls.autostart, 0);
  EXPECT_EQ(controls.interval, 30);
  EXPECT_TRUE(file.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(States, LoadSettingsUnread,
                         testing::Values(定义::IniFileState::Missing,
                                         定义::IniFileState::Unreadable));

TEST(LoadSettings, EmptyFileGivesEmptyAddressUntickedBoxAndIntervalZero) {
  FakeIniFile file;
  FakeControls controls;
  controls.autostart = 1;
  EXPECT_EQ(定义::LoadSettings(file, controls).state, 定义::IniFileState::Read);
  EXPECT_EQ(controls.address, L"");
  EXPECT_EQ(controls.autostart, 0);
  EXPECT_EQ(controls.interval, 0);
}

// A 50-byte buffer in the ANSI code page: 49 bytes of GBK, in which a Chinese
// character takes two and one that would not fit whole is left out.
TEST(LoadSettings, ReadsTheAddressWithAFiftyByteBuffer) {
  const struct {
    std::wstring stored, loaded;
  } cases[] = {
      {std::wstring(60, L'1'), std::wstring(49, L'1')},
      {std::wstring(30, L'时'), std::wstring(24, L'时')},
      {L"1" + std::wstring(25, L'时'), L"1" + std::wstring(24, L'时')},
  };
  for (const auto& [stored, loaded] : cases) {
    FakeIniFile file;
    file.values[{kNetwork, L"服务器路径"}] = stored;
    FakeControls controls;
    定义::LoadSettings(file, controls);
    EXPECT_EQ(controls.address, loaded) << stored.size() << " characters stored";
  }
}

struct RefusedValue {
  const wchar_t* key;
  const wchar_t* stored;
};

class LoadSettingsRefusal : public testing::TestWithParam<RefusedValue> {};

TEST_P(LoadSettingsRefusal, KeepsThatControlAndLoadsTheOthers) {
  FakeIniFile file;
  file.values[{kNetwork, L"服务器路径"}] = L"10.0.0.1";
  file.values[{kSystem, L"开机自动运行"}] = L"1";
  file.values[{kSystem, L"校时间隔"}] = L"10";
  file.values[{kSystem, GetParam().key}] = GetParam().stored;
  FakeControls controls;
  EXPECT_EQ(定义::LoadSettings(file, controls).state, 定义::IniFileState::Read);
  EXPECT_EQ(controls.address, L"10.0.0.1");
  const bool refusedBox = std::wstring(GetParam().key) == L"开机自动运行";
  EXPECT_EQ(controls.autostart, refusedBox ? 0 : 1);
  EXPECT_EQ(controls.interval, refusedBox ? 10 : 30);
}

INSTANTIATE_TEST_SUITE_P(Table, LoadSettingsRefusal,
                         testing::Values(RefusedValue{L"校时间隔", L"250"},
                                         RefusedValue{L"校时间隔", L"70000"},
                                         RefusedValue{L"校时间隔", L"-1"},
                                         RefusedValue{L"开机自动运行", L"5"},
                                         RefusedValue{L"开机自动运行", L"65537"}));

TEST(LoadSettings, LettersOnlyReadAsZero) {
  FakeIniFile file;
  file.values[{kSystem, L"校时间隔"}] = L"abc";
  FakeControls controls;
  定义::LoadSettings(file, controls);
  EXPECT_EQ(controls.interval, 0);
}

TEST(SaveSettings, WritesTheThreeKeysInOrderWhenNoFileHeldThem) {
  FakeIniFile file;
  FakeControls controls;
  controls.interval = 0;
  controls.autostart = 2;
  定义::StoredSettings stored = 定义::StoredSettingsOf(controls, false);
  定义::SaveSettings(file, controls, stored);
  EXPECT_EQ(file.writes,
            (std::vector<std::wstring>{L"网络配置/服务器路径=192.168.1.1",
                                       L"系统配置/开机自动运行=2", L"系统配置/校时间隔=0"}));
  EXPECT_EQ(file.saves, 1) << "the file written once";
}

TEST(SaveSettings, WritesOnlyWhatDiffersFromTheStoredValues) {
  FakeIniFile file;
  FakeControls controls;
  定义::StoredSettings stored = 定义::StoredSettingsOf(controls, true);
  EXPECT_FALSE(定义::HasUnsavedChange(controls, stored));
  定义::SaveSettings(file, controls, stored);
  EXPECT_EQ(file.saves, 0);

  controls.interval = 40;
  EXPECT_TRUE(定义::HasUnsavedChange(controls, stored));
  定义::SaveSettings(file, controls, stored);
  定义::SaveSettings(file, controls, stored);
  EXPECT_EQ(file.writes, std::vector<std::wstring>{L"系统配置/校时间隔=40"});
  EXPECT_EQ(file.saves, 1);
  EXPECT_FALSE(定义::HasUnsavedChange(controls, stored));
}

// The file holds all the changes of a save or none: a failed one records
// nothing, and the next writes them all again.
TEST(SaveSettings, AFailedWriteIsReportedAndTheNextSaveTriesAgain) {
  FakeIniFile file;
  FakeControls controls;
  定义::StoredSettings stored = 定义::StoredSettingsOf(controls, true);
  controls.address = L"10.0.0.9";
  controls.interval = 40;
  file.writeFailure = 定义::FileFailure{定义::FileProblem::ReadOnly, 5};
  const auto failure = 定义::SaveSettings(file, controls, stored);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->problem, 定义::FileProblem::ReadOnly);
  EXPECT_TRUE(定义::HasUnsavedChange(controls, stored));
  file.writeFailure.reset();
  file.writes.clear();
  EXPECT_EQ(定义::SaveSettings(file, controls, stored), std::nullopt);
  EXPECT_EQ(file.writes,
            (std::vector<std::wstring>{L"网络配置/服务器路径=10.0.0.9", L"系统配置/校时间隔=40"}));
  EXPECT_EQ(file.saves, 2);
  EXPECT_FALSE(定义::HasUnsavedChange(controls, stored));
}

}  // namespace
