#include "installer/preset.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "shown_text.h"
#include "autostart/logon_task.h"
#include "settings/settings.h"
#include "sync/address.h"
#include "ui/captions.h"

namespace {

using installer::PresetProblem;

// The window's three values, as the program loads them.
class LoadedControls final : public 定义::SettingsControls {
 public:
  std::wstring address;
  int autostart = 0, interval = 0;

  std::wstring 服务器路径Text() const override { return address; }
  void Load服务器路径Text(const std::wstring& text) override { address = text; }
  int 开机自动运行Value() const override { return autostart; }
  bool Load开机自动运行Value(int value) override { return autostart = value, true; }
  int 滚动条Value() const override { return interval; }
  bool Load滚动条Value(int value) override { return interval = value, true; }
};

// What the program loads from the preset once the installer has written it.
LoadedControls Loaded(FakeIniFile& file) {
  file.state = 定义::IniFileState::Read;
  LoadedControls controls;
  定义::LoadSettings(file, controls);
  return controls;
}

FakeIniFile NoFile() {
  FakeIniFile file;
  file.state = 定义::IniFileState::Missing;
  return file;
}

// Dotted texts of every kind, mostly of four parts: blanks, signs, junk,
// blanks that may reach past what the program reads of an address.
rc::Gen<std::wstring> AddressText() {
  using Parts = std::vector<std::wstring>;
  const auto part = rc::gen::element<std::wstring>(L"0", L"1", L"10", L"192", L"255", L"300", L"-1",
                                                   L"+7", L" 8 ", L"", L"x", L"1e2");
  const auto parts = rc::gen::weightedOneOf<Parts>(
      {{4, rc::gen::container<Parts>(4, part)}, {1, rc::gen::container<Parts>(part)}});
  return rc::gen::map(rc::gen::pair(parts, rc::gen::inRange(0, 60)), [](const auto& drawn) {
    std::wstring text;
    for (const auto& p : drawn.first) text += (text.empty() ? L"" : L".") + p;
    // Inside, where the profile's reading does not trim it away.
    const auto dot = text.find(L'.');
    return text.insert(dot == std::wstring::npos ? text.size() : dot,
                       std::wstring(drawn.second, L' '));
  });
}

RC_GTEST_PROP(InstallerPreset, AnAcceptedAddressIsProbedAsGivenAfterTheProgramLoadsIt, ()) {
  const std::wstring address = *AddressText();
  RC_LOG() << ShownText(address);
  RC_PRE(!address.empty() && !PresetProblem({address, L""}));
  FakeIniFile preset = NoFile();
  RC_ASSERT(!installer::WritePreset(preset, {address, L""}));
  const auto probed = ping::DottedQuadToAddress(Loaded(preset).address);
  RC_ASSERT(probed == ping::DottedQuadToAddress(address));
  RC_ASSERT(probed.value_or(0) != 0);
}

TEST(InstallerPreset, RefusesWhatTheProgramWouldNotProbeOrTheBarNotTake) {
  for (const wchar_t* address : {L"192.168.1", L"1.2.3.4.5", L"0.0.0.0", L"server", L"1.2.3.x"})
    EXPECT_TRUE(PresetProblem({address, L""})) << address;
  for (const wchar_t* interval : {L"101", L"-1", L"7.5", L"abc", L"1000"})
    EXPECT_TRUE(PresetProblem({L"", interval})) << interval;
  for (const wchar_t* interval : {L"0", L"100", L"07"})
    EXPECT_FALSE(PresetProblem({L"", interval}));
  EXPECT_FALSE(PresetProblem({L"", L""}));
  // The installer says which value is wrong.
  EXPECT_NE(PresetProblem({L"1.2.3.4", L"300"})->find(L"“300”"), std::wstring::npos);
}

TEST(InstallerPreset, ANewPresetHoldsTheGivenValuesAndTheWindowsOthers) {
  FakeIniFile preset = NoFile();
  EXPECT_FALSE(installer::WritePreset(preset, {L"10.0.0.5", L""}));
  const LoadedControls loaded = Loaded(preset);
  EXPECT_EQ(loaded.address, L"10.0.0.5");
  EXPECT_EQ(loaded.autostart, 0);
  EXPECT_EQ(loaded.interval, 30);
}

TEST(InstallerPreset, NewValuesChangeOnlyTheirKeysOfAnExistingPreset) {
  FakeIniFile preset;
  preset.text = L"[网络配置]\r\n服务器路径=10.0.0.5\r\n; the administrator's note\r\n";
  EXPECT_FALSE(installer::WritePreset(preset, {L"", L"15"}));
  EXPECT_EQ(preset.writes, std::vector<std::wstring>{L"系统配置/校时间隔=15"});
  EXPECT_EQ(Loaded(preset).address, L"10.0.0.5");

  FakeIniFile untouched;
  EXPECT_FALSE(installer::WritePreset(untouched, {L"", L""}));
  EXPECT_EQ(untouched.saves, 0);
}

TEST(InstallerPreset, KnowsEveryAdministratorsLogonTaskAndNoOther) {
  for (const wchar_t* account : {L"PC\\Admin", L"DOMAIN\\李四", L"PC\\a (b)"}) {
    EXPECT_TRUE(installer::IsProgramTaskName(
        开机运行::LogonTaskName(kProgramName, account, L"S-1-5-21-1-2-3-1001")));
    EXPECT_TRUE(installer::IsProgramTaskName(开机运行::LegacyLogonTaskName(kProgramName, account)));
  }
  for (const std::wstring& other : {std::wstring(kProgramName), std::wstring(L"Another (PC_Admin)"),
                                    std::wstring(L"局域网 (PC_Admin)")})
    EXPECT_FALSE(installer::IsProgramTaskName(other));
}

}  // namespace
