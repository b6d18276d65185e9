#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.h"
#include "shown_text.h"
#include "ui/form.h"
#include "ui/tray_icon.h"

namespace {

constexpr wchar_t kNetwork[] = L"网络配置";
constexpr wchar_t kSystem[] = L"系统配置";

// A settings file as a hand may have left it: each key there or not, with a
// value the window takes or refuses, among comments and other sections.
rc::Gen<std::wstring> StoredText() {
  const auto maybe = [](std::vector<std::wstring> values) {
    values.push_back(L"");  // no such key
    return rc::gen::elementOf(values);
  };
  return rc::gen::apply(
      [](std::wstring address, std::wstring autostart, std::wstring interval, bool comments) {
        std::wstring text = comments ? L"; 手写的注释\r\n[其他]\r\n校时间隔=7\r\n" : L"";
        if (!address.empty()) text += L"[网络配置]\r\n服务器路径=" + address + L"\r\n";
        text += L"[系统配置]\r\n";
        if (!autostart.empty()) text += L"开机自动运行=" + autostart + L"\r\n";
        if (!interval.empty()) text += L"校时间隔=" + interval + L"\r\n";
        return text;
      },
      maybe({L"10.0.0.1", L"192.168.1.1", L"时间服务器", std::wstring(60, L'1')}),
      maybe({L"0", L"1", L"2", L"5", L"-1", L"abc", L"70000"}),
      maybe({L"0", L"1", L"10", L"30", L"100", L"250", L"-1", L"x"}), rc::gen::arbitrary<bool>());
}

class KeeperScene : public FakedForm {
 public:
  explicit KeeperScene(std::wstring text, bool overPreset = false) : FakedForm(overPreset) {
    file.text = std::move(text);
    system.events = &view.events;
  }
};

// What the window shows of the settings.
struct Shown {
  std::wstring address;
  int autostart, interval;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(const 同步软件& form, const FakeView& view) {
  return {view.address, form.开机自动运行Value(), form.滚动条Value()};
}

// Loading and closing with nothing changed writes nothing, whether the file
// was there, missing, or unreadable for a while.
RC_GTEST_PROP(SettingsKeeper, LoadingAndClosingWithNothingChangedWritesNothing, ()) {
  KeeperScene scene(*StoredText());
  RC_LOG() << ShownText(scene.file.text);
  scene.file.state = *rc::gen::element(定义::IniFileState::Read, 定义::IniFileState::Missing,
                                       定义::IniFileState::Unreadable);
  const int unreadableTicks = *rc::gen::inRange(0, 4);
  scene.form.Form_Load();
  for (int tick = 0; tick < 4; ++tick) {
    if (tick == unreadableTicks && scene.file.state == 定义::IniFileState::Unreadable)
      scene.file.state = 定义::IniFileState::Read;
    scene.form.Timer2_Timer();
  }
  scene.form.Form_Unload();
  RC_ASSERT(scene.file.saves == 0);
}

// What the user may do while the file cannot be read.
struct Edits {
  rc::Maybe<std::wstring> address;
  int presses;
  rc::Maybe<int> interval;
  bool hideAndRestore;
};

// A change made while the file was unreadable is written once it can be
// read, and only that one: a key changed back, or never touched, keeps what
// the file holds.
RC_GTEST_PROP(SettingsKeeper, AChangeMadeWhileUnreadableIsWrittenOnceReadableAndOnlyThat, ()) {
  KeeperScene scene(*StoredText());
  RC_LOG() << ShownText(scene.file.text);
  const Edits edits{*rc::gen::maybe(rc::gen::element<std::wstring>(L"10.9.8.7", L"192.168.1.1")),
                    *rc::gen::inRange(0, 3), *rc::gen::maybe(rc::gen::element(0, 10, 30, 31)),
                    *rc::gen::arbitrary<bool>()};
  scene.file.state = 定义::IniFileState::Unreadable;
  scene.form.Form_Load();
  const std::wstring address = scene.view.address;
  const int autostart = scene.form.开机自动运行Value(), interval = scene.form.滚动条Value();

  if (edits.address) scene.view.address = *edits.address;
  for (int i = 0; i < edits.presses; ++i) scene.form.开机自动运行_Pressed();
  if (edits.interval) scene.form.Set滚动条Value(*edits.interval);
  if (edits.hideAndRestore) {
    scene.form.Command1_Click();
    scene.form.TrayIcon_Notify(kTrayLeftDoubleClick);
  }
  scene.form.Timer2_Timer();
  RC_ASSERT(scene.file.saves == 0);

  std::vector<std::wstring> expected;
  if (scene.view.address != address)
    expected.push_back(std::wstring(kNetwork) + L"/服务器路径=" + scene.view.address);
  if (scene.form.开机自动运行Value() != autostart)
    expected.push_back(std::wstring(kSystem) + L"/开机自动运行=" +
                       std::to_wstring(scene.form.开机自动运行Value()));
  if (scene.form.滚动条Value() != interval)
    expected.push_back(std::wstring(kSystem) + L"/校时间隔=" +
                       std::to_wstring(scene.form.滚动条Value()));
  scene.file.state = 定义::IniFileState::Read;
  scene.form.Timer2_Timer();
  RC_ASSERT(scene.file.writes == expected);
  RC_ASSERT(scene.file.saves == (expected.empty() ? 0 : 1));
  RC_ASSERT(scene.view.tooltip.empty());
  scene.form.Timer2_Timer();
  scene.form.Form_Unload();
  RC_ASSERT(scene.file.writes.size() == expected.size());
}

// Over an administrator's preset, whichever of the two files is there: a
// key the user did not touch is never written into the user's file, so that
// it follows the preset; the preset is never written; and the next start
// shows what the window showed.
RC_GTEST_PROP(SettingsKeeper, OverAPresetOnlyWhatTheUserTouchesGoesIntoTheirFileAndComesBack, ()) {
  KeeperScene scene(*StoredText(), true);
  scene.preset.text = *StoredText();
  RC_LOG() << ShownText(scene.file.text) << "\nover\n" << ShownText(scene.preset.text);
  scene.file.state = *rc::gen::element(定义::IniFileState::Read, 定义::IniFileState::Missing);
  scene.preset.state = *rc::gen::element(定义::IniFileState::Read, 定义::IniFileState::Missing);
  // A first save makes the file from nothing.
  if (scene.file.state == 定义::IniFileState::Missing) scene.file.text.clear();
  const auto address = *rc::gen::maybe(rc::gen::element<std::wstring>(L"10.9.8.7", L"192.168.1.1"));
  const int presses = *rc::gen::inRange(0, 3);
  const auto interval = *rc::gen::maybe(rc::gen::element(0, 10, 30, 31));

  scene.form.Form_Load();
  if (address) scene.view.address = *address;
  for (int i = 0; i < presses; ++i) scene.form.开机自动运行_Pressed();
  if (interval) scene.form.Set滚动条Value(*interval);
  scene.form.Form_Unload();
  const Shown shown = ShownBy(scene.form, scene.view);

  const auto wrote = [&](const std::wstring& key) {
    return std::any_of(scene.file.writes.begin(), scene.file.writes.end(),
                       [&](const std::wstring& write) { return write.find(key) != write.npos; });
  };
  RC_ASSERT(address || !wrote(L"/服务器路径="));
  RC_ASSERT(presses > 0 || !wrote(L"/开机自动运行="));
  RC_ASSERT(interval || !wrote(L"/校时间隔="));
  RC_ASSERT(scene.preset.saves == 0);

  if (!scene.file.writes.empty()) scene.file.state = 定义::IniFileState::Read;
  同步软件 restarted{scene.view,       scene.system,  scene.system, scene.clockRight,
                     scene.logonTasks, scene.Files(), scene.runKey, kFakedExe};
  restarted.Form_Load();
  RC_ASSERT(ShownBy(restarted, scene.view) == shown);
}

}  // namespace
