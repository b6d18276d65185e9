#include "ui/form.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "ui/captions.h"
#include "ui/colours.h"
#include "ui/tray_icon.h"

namespace {

using 开机运行::RunKeyHive;

constexpr wchar_t kNetwork[] = L"网络配置";
constexpr wchar_t kSystem[] = L"系统配置";
constexpr auto& kExe = kFakedExe;
// 192.168.1.1 and 127.0.0.1 as the echo call takes them.
constexpr std::int32_t kDesignAddress = 0x0101A8C0;
constexpr std::int32_t kLoopback = 0x0100007F;

class FormTest : public testing::Test, public FakedForm {
 protected:
  FormTest() {
    system.events = &view.events;
    file.state = 定义::IniFileState::Missing;
  }

  void StoreSettings(const wchar_t* address, const wchar_t* autostart, const wchar_t* interval) {
    file.state = 定义::IniFileState::Read;
    file.Edit({{kNetwork, L"服务器路径", address},
               {kSystem, L"开机自动运行", autostart},
               {kSystem, L"校时间隔", interval}});
  }

  void Load() {
    form.Form_Load();
    file.writes.clear();
  }

  // "立即同步" against a server that answers: the command starts, after the
  // consent prompt where one is asked.
  void SyncNow() {
    const std::size_t prompts = system.elevatedArguments.size();
    form.Command2_Click();
    form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), true);
    if (system.elevatedArguments.size() > prompts)
      form.ConsentPrompt_Ended(system.lastCommand, system.elevatedStart);
  }

  void CommandEnds(std::uint32_t exitCode, std::wstring output = L"") {
    form.SyncCommand_Ended({system.lastCommand, exitCode, std::move(output)});
  }

  void SntpEnds(const sntp::Answer& answer = {}) {
    form.SntpQuestion_Ended(system.lastSntpQuestion, answer);
  }
};

// 1.234 s, as an SNTP answer tells it.
constexpr sntp::Offset kOneSecond234 = 5'299'989'643;

TEST_F(FormTest, SecondInstanceShowsTheFirstAndEndsWithoutReadingSettingsOrShowing) {
  system.anotherInstance = true;
  StoreSettings(L"10.0.0.1", L"1", L"10");
  form.Form_Load();
  EXPECT_EQ(system.runningInstanceShows, 1);
  EXPECT_TRUE(view.unloaded);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.address, L"192.168.1.1");
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(system.trayAdds, 0);
}

// The copy a logon task starts, replacing one a Run value started without
// the right to change the clock: the window stays as the user left it.
TEST_F(FormTest, ACopyThatReplacedAnotherKeepsItsWindowShownOrHidden) {
  for (const bool ticked : {false, true})
    for (const bool shownBefore : {false, true}) {
      FakedForm faked;
      faked.system.replacedCopyShown = shownBefore;
      faked.file.Edit({{kSystem, L"开机自动运行", ticked ? L"1" : L"0"}});
      faked.form.Form_Load();
      EXPECT_FALSE(faked.view.unloaded);
      EXPECT_EQ(faked.view.visible, shownBefore) << "ticked " << ticked;
      EXPECT_EQ(faked.form.IsHiddenInTray(), !shownBefore) << "ticked " << ticked;
    }
}

TEST_F(FormTest, NoSettingsFileShowsTheDesignValuesAndWritesNothing) {
  form.Form_Load();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.address, L"192.168.1.1");
  EXPECT_EQ(form.开机自动运行Value(), 0);
  EXPECT_EQ(form.滚动条Value(), 30);
  EXPECT_EQ(view.label4, IntervalCaption(30));
  EXPECT_EQ(view.网络时间, L"网络时间");
  form.Form_Unload();
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(FormTest, StoredDesignValuesRunNoHandlerAndSaveNothing) {
  StoreSettings(L"10.0.0.1", L"0", L"30");
  form.Form_Load();
  EXPECT_EQ(view.address, L"10.0.0.1");
  EXPECT_EQ(view.网络时间, L"网络时间");
  EXPECT_TRUE(file.writes.empty());
  EXPECT_TRUE(runKey.values.empty());
}

TEST_F(FormTest, StoredTickedBoxStartsInTheTrayAndRenewsTheRunValue) {
  StoreSettings(L"10.0.0.1", L"1", L"10");
  form.Form_Load();
  EXPECT_EQ(view.shownAutostart, 1);
  EXPECT_EQ(view.shownInterval, 10);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  // The handlers that loading raises write nothing: the file holds it all.
  EXPECT_TRUE(file.writes.empty());
  EXPECT_TRUE(form.IsHiddenInTray());
  EXPECT_EQ(system.trayIcons, 1);
  EXPECT_EQ(view.events, (std::vector<std::wstring>{L"add icon", L"hide"}));
}

TEST_F(FormTest, AStoredValueTheControlRefusesIsNotOverwrittenByLoading) {
  StoreSettings(L"10.0.0.1", L"1", L"250");
  form.Form_Load();
  EXPECT_EQ(form.滚动条Value(), 30);
  EXPECT_TRUE(file.writes.empty());
  form.Form_Unload();
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"250");
}

TEST_F(FormTest, StoredGreyedBoxRemovesTheRunValueAndStaysVisible) {
  runKey.values[RunKeyHive::LocalMachine][开机运行::kRunValueName] = kExe;
  StoreSettings(L"10.0.0.1", L"2", L"30");
  form.Form_Load();
  EXPECT_EQ(view.shownAutostart, 2);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(file.Value(kSystem, L"开机自动运行"), L"2");
}

TEST_F(FormTest, StoredIntervalRelabels) {
  StoreSettings(L"10.0.0.1", L"0", L"10");
  form.Form_Load();
  EXPECT_EQ(view.label4, IntervalCaption(10));
  EXPECT_EQ(view.网络时间, kWaitingCaption);

  form.Set滚动条Value(0);
  EXPECT_EQ(view.label4, IntervalCaption(0));
  EXPECT_EQ(view.网络时间, kNoIntervalCaption);
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"0");

  form.Set滚动条Value(1);  // the shortest interval is one
  form.Timer2_Timer();
  EXPECT_EQ(view.label4, IntervalCaption(1));
  EXPECT_EQ(view.网络时间, kWaitingCaption);
}

TEST_F(FormTest, SyncNowProbesThenStartsTheCommandAndReportsItsEnd) {
  Load();
  view.address = L"127.0.0.1";
  view.网络时间 = kWaitingCaption;
  form.Command2_Click();
  EXPECT_EQ(system.probes, (std::vector<FakeSystem::Probe>{{ProbeFor::Sync, kLoopback}}));
  EXPECT_TRUE(system.startedCommands.empty());
  view.address = L"10.0.0.9";  // typed while the echo is out: the probed address is synced
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), true);
  EXPECT_EQ(system.startedCommands, std::vector<std::wstring>{L"net time \\\\127.0.0.1 /set /yes"});
  EXPECT_EQ(view.网络时间, kWaitingCaption);  // started is not yet synchronised

  EXPECT_EQ(view.tooltip, L"");
  EXPECT_EQ(system.trayTip, kTrayTip);

  system.timeOfDay = L"03:51:00";
  CommandEnds(0);
  EXPECT_EQ(view.网络时间, L"同步时间 03:51:00");
  const std::wstring reason = L"上次同步 03:51:00：成功，本机时间已按服务器校准。";
  EXPECT_EQ(view.tooltip, reason);
  EXPECT_EQ(system.trayTip, std::wstring(kTrayTip) + L"\n" + reason);
  EXPECT_FALSE(view.command2Shield);
}

// The server that answered the echo is asked over SNTP once net.exe has
// failed; the caption waits for that answer.
TEST_F(FormTest, AFailedCommandFallsBackToSntpWhichSetsTheClockOrFailsToo) {
  Load();
  SyncNow();
  view.网络时间 = kWaitingCaption;
  CommandEnds(2, L"发生系统错误 1314。\r\n\r\n客户端没有所需的特权。\r\n\r\n");
  EXPECT_EQ(system.sntpQuestions, std::vector<std::int32_t>{kDesignAddress});
  EXPECT_EQ(view.网络时间, kWaitingCaption);
  SntpEnds();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，net time 失败（代码 2：客户端没有所需的特权。）；SNTP "
            L"也失败（服务器没有应答）。");
  EXPECT_TRUE(system.clockSets.empty());

  SyncNow();
  CommandEnds(2);
  SntpEnds({sntp::AnswerEnd::Answered, kOneSecond234});
  EXPECT_EQ(system.clockSets, std::vector<sntp::Offset>{kOneSecond234});
  EXPECT_EQ(view.网络时间, L"同步时间 03:50:36");
  EXPECT_EQ(
      view.tooltip,
      L"上次同步 03:50:36：net time 失败（代码 2）；已按 SNTP 校时，本机时钟调整了 +1.234 秒。");
}

TEST_F(FormTest, WithoutTheRightAClickAsksWindowsForItAndTheScheduleNever) {
  clockRight.right = ClockRight{.canElevate = true};
  StoreSettings(L"127.0.0.1", L"0", L"1");
  Load();
  EXPECT_TRUE(view.command2Shield);
  for (int i = 0; i < 60; ++i) form.Timer2_Timer();
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), true);
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 1u);
  EXPECT_TRUE(system.startedCommands.empty());
  EXPECT_TRUE(system.elevatedArguments.empty());
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，本程序没有更改系统时间的权限。请点“立即同步”，在 Windows "
            L"询问时选“是”。");
  EXPECT_EQ(form.SyncTickCount(), 0);

  SyncNow();
  EXPECT_EQ(system.elevatedArguments, std::vector<std::wstring>{L"time \\\\127.0.0.1 /set /yes"});
  EXPECT_TRUE(system.startedCommands.empty());
  CommandEnds(0);
  EXPECT_EQ(view.网络时间, L"同步时间 03:50:36");
}

TEST_F(FormTest, APromptDeclinedOrNotShownIsAnError) {
  clockRight.right = ClockRight{.canElevate = true};
  StoreSettings(L"127.0.0.1", L"0", L"30");
  Load();
  system.elevatedStart = ElevatedStart::Declined;
  SyncNow();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，在 Windows 询问是否允许更改系统时间时选了“否”。");
  EXPECT_TRUE(system.sntpQuestions.empty());

  // The server is asked all the same, but its answer sets nothing: the
  // right came only through the prompt, which is not shown a second time.
  system.elevatedStart = ElevatedStart::Failed;
  view.网络时间 = kWaitingCaption;
  SyncNow();
  SntpEnds({sntp::AnswerEnd::Answered, kOneSecond234});
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，net time 失败（无法启动）；服务器可用 SNTP "
            L"校时，但本程序自己没有更改系统时间的权限；按下“开机自动运行”建立计划任务，或由管理员"
            L"授予此权限，即可使用（见用户指南）。");
  EXPECT_TRUE(system.clockSets.empty());
  EXPECT_EQ(system.elevatedArguments.size(), 2u) << "one prompt per click";
}

TEST_F(FormTest, WithoutTheRightAndNoWayToGetItNothingStarts) {
  clockRight.right = ClockRight{};
  Load();
  EXPECT_FALSE(view.command2Shield);
  SyncNow();
  EXPECT_TRUE(system.startedCommands.empty());
  EXPECT_TRUE(system.elevatedArguments.empty());
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(
      view.tooltip,
      L"上次同步 03:50:36：失败，本程序没有更改系统时间的权限。请管理员授予此权限（见用户指南）"
      L"。");
}

TEST_F(FormTest, AnUnreadableTokenSyncsAsBefore) {
  clockRight.right = std::nullopt;
  Load();
  EXPECT_FALSE(view.command2Shield);
  SyncNow();
  EXPECT_EQ(system.startedCommands.size(), 1u);
}

TEST_F(FormTest, SyncNowWithoutAnAnswerStartsNothing) {
  Load();
  for (int i = 0; i < 30; ++i) form.Timer2_Timer();
  form.Command2_Click();
  EXPECT_EQ(form.SyncTickCount(), 0);
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), false);
  EXPECT_TRUE(system.startedCommands.empty());
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip, L"上次同步 03:50:36：失败，服务器没有应答，请检查地址和网络。");
}

TEST_F(FormTest, SyncNowThatCannotStartTheCommandReportsAnError) {
  Load();
  system.startable = false;
  SyncNow();
  SntpEnds({sntp::AnswerEnd::KissOfDeath, 0, "RATE"});
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，net time 失败（无法启动）；SNTP "
            L"也失败（服务器拒绝了请求（RATE））。");
}

TEST_F(FormTest, TextThatIsNoAddressIsNeverSent) {
  Load();
  view.address = L"192.168.1.1.5";
  form.Timer1_Timer();
  EXPECT_EQ(view.addressBack, colours::kRed);
  form.Command2_Click();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_TRUE(system.probes.empty());
}

TEST_F(FormTest, AnAttemptWaitingForItsEchoOrItsCommandStartsNoOther) {
  Load();
  form.Command2_Click();
  for (int i = 0; i < 5; ++i) form.Timer2_Timer();
  form.Command2_Click();
  EXPECT_EQ(system.probes.size(), 1u);
  EXPECT_EQ(form.SyncTickCount(), 0);

  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), true);
  form.Command2_Click();
  EXPECT_EQ(system.probes.size(), 1u);
  EXPECT_EQ(system.startedCommands.size(), 1u);

  CommandEnds(0);
  form.Command2_Click();
  EXPECT_EQ(system.probes.size(), 2u);
}

TEST_F(FormTest, ACommandPastTheTimeLimitIsEndedAsFailed) {
  Load();
  SyncNow();
  view.网络时间 = kWaitingCaption;
  system.now += std::chrono::seconds(59);
  form.Timer2_Timer();
  EXPECT_EQ(system.endedCommands, 0);
  EXPECT_EQ(view.网络时间, kWaitingCaption);

  system.now += std::chrono::seconds(1);
  form.Timer2_Timer();
  EXPECT_EQ(system.endedCommands, 1);
  EXPECT_EQ(system.sntpQuestions.size(), 1u);
  // An SNTP question whose end never comes is given up after two seconds.
  system.now += std::chrono::seconds(2);
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  EXPECT_EQ(view.tooltip,
            L"上次同步 03:50:36：失败，net time 失败（60 秒内没有结束）；SNTP "
            L"也失败（服务器没有应答）。");
  form.Timer2_Timer();
  EXPECT_EQ(system.endedCommands, 1);

  SyncNow();
  EXPECT_EQ(system.startedCommands.size(), 2u);
}

// A command may end and the next attempt begin before any timer ticks: each
// ending is shown when it happens, so none is lost to the next.
TEST_F(FormTest, EveryEndingIsShownAtOnceInTheOrderOfEnding) {
  Load();
  SyncNow();
  CommandEnds(2);
  SntpEnds();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  SyncNow();
  CommandEnds(0);
  EXPECT_EQ(view.网络时间, L"同步时间 03:50:36");
  EXPECT_EQ(system.startedCommands.size(), 2u);
}

TEST_F(FormTest, ScheduledSyncRunsAfterTheIntervalAndRestartsTheCount) {
  StoreSettings(L"127.0.0.1", L"0", L"1");
  Load();
  for (int i = 0; i < 59; ++i) form.Timer2_Timer();
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 0u);
  form.Timer2_Timer();
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 1u);
  EXPECT_EQ(form.SyncTickCount(), 0);
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), true);
  EXPECT_EQ(system.startedCommands.size(), 1u);
}

TEST_F(FormTest, ManualSyncRestartsTheSchedule) {
  StoreSettings(L"127.0.0.1", L"0", L"1");
  Load();
  for (int i = 0; i < 50; ++i) form.Timer2_Timer();
  SyncNow();
  CommandEnds(0);
  for (int i = 0; i < 59; ++i) form.Timer2_Timer();
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 1u);
  form.Timer2_Timer();
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 2u);
}

TEST_F(FormTest, IntervalZeroWritesItsCaptionOnEveryTickAndHoldsTheCount) {
  Load();
  for (int i = 0; i < 10; ++i) form.Timer2_Timer();
  form.Set滚动条Value(0);
  view.网络时间 = L"x";
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, kNoIntervalCaption);
  EXPECT_EQ(form.SyncTickCount(), 10);
}

TEST_F(FormTest, IntervalZeroLeavesTheOutcomeOfASyncNowUntilTheIntervalChanges) {
  StoreSettings(L"127.0.0.1", L"0", L"0");
  Load();
  SyncNow();
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, kNoIntervalCaption) << "no attempt has ended yet";
  CommandEnds(0);
  for (int i = 0; i < 5; ++i) form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, L"同步时间 03:50:36");

  form.Set滚动条Value(1);
  form.Set滚动条Value(0);
  view.网络时间 = L"x";
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, kNoIntervalCaption);
}

TEST_F(FormTest, LoweringTheIntervalBelowTheCountSyncsOnTheNextTick) {
  Load();
  for (int i = 0; i < 400; ++i) form.Timer2_Timer();
  form.Set滚动条Value(5);
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 0u);
  form.Timer2_Timer();
  EXPECT_EQ(system.ProbesFor(ProbeFor::Sync), 1u);
}

TEST_F(FormTest, LocalClockAndReachabilityColours) {
  Load();
  form.Timer1_Timer();
  EXPECT_EQ(view.本机时间, L"本机时间 03:50:36");
  EXPECT_EQ(system.probes, (std::vector<FakeSystem::Probe>{{ProbeFor::Status, kDesignAddress}}));
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Status), true);
  EXPECT_EQ(view.addressBack, colours::kGreen);
  EXPECT_EQ(view.addressFore, colours::kBlack);
  EXPECT_EQ(view.网络时间Colour, colours::kGreen);

  form.Timer1_Timer();
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Status), false);
  EXPECT_EQ(view.addressBack, colours::kRed);
  EXPECT_EQ(view.addressFore, colours::kWhite);
  EXPECT_EQ(view.网络时间Colour, colours::kRed);
}

TEST_F(FormTest, AStatusEchoOutHoldsBackTheNext) {
  Load();
  for (int i = 0; i < 3; ++i) form.Timer1_Timer();
  EXPECT_EQ(system.probes.size(), 1u);
  EXPECT_EQ(view.本机时间, L"本机时间 03:50:36");
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Status), false);
  form.Timer1_Timer();
  EXPECT_EQ(system.probes.size(), 2u);
}

// An echo whose end never comes is given up after a second: it no longer
// holds back the next, and its end, should it come after all, changes nothing.
TEST_F(FormTest, AStatusEchoWithoutAnEndIsGivenUpAfterASecond) {
  Load();
  form.Timer1_Timer();
  const EchoTicket lost = system.LastEcho(ProbeFor::Status);
  system.now += std::chrono::milliseconds(999);
  form.Timer1_Timer();
  EXPECT_EQ(system.probes.size(), 1u);
  system.now += std::chrono::milliseconds(1);
  form.Timer1_Timer();
  EXPECT_EQ(system.probes.size(), 2u);
  EXPECT_EQ(view.addressBack, colours::kRed);
  form.ProbeHost_Completed(lost, true);
  EXPECT_EQ(view.addressBack, colours::kRed);
  form.Timer1_Timer();
  EXPECT_EQ(system.probes.size(), 2u);
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Status), true);
  EXPECT_EQ(view.addressBack, colours::kGreen);
}

TEST_F(FormTest, ASyncEchoWithoutAnEndFailsTheAttemptAfterASecond) {
  Load();
  form.Command2_Click();
  const EchoTicket lost = system.LastEcho(ProbeFor::Sync);
  system.now += std::chrono::milliseconds(999);
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, L"网络时间");
  system.now += std::chrono::milliseconds(1);
  form.Timer2_Timer();
  EXPECT_EQ(view.网络时间, kSyncFailedCaption);
  form.ProbeHost_Completed(lost, true);
  EXPECT_TRUE(system.startedCommands.empty());
  SyncNow();
  EXPECT_EQ(system.startedCommands.size(), 1u);
}

TEST_F(FormTest, AnAnswerForATextTypedOverIsNotShown) {
  Load();
  form.Timer1_Timer();
  view.address = L"127.0.0.1";
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Status), true);
  EXPECT_NE(view.addressBack, colours::kGreen);
  form.Timer1_Timer();
  EXPECT_EQ(system.probes.back(), (FakeSystem::Probe{ProbeFor::Status, kLoopback}));
}

TEST_F(FormTest, HideSavesThenHidesIntoTheTray) {
  Load();
  view.address = L"10.1.2.3";
  form.Command1_Click();
  EXPECT_EQ(file.Value(kNetwork, L"服务器路径"), L"10.1.2.3");
  EXPECT_EQ(file.writes.size(), 3u);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(system.trayIcons, 1);
}

TEST_F(FormTest, HidingTwiceAddsOneIcon) {
  Load();
  form.Command1_Click();
  form.Command1_Click();
  EXPECT_EQ(system.trayAdds, 1);
}

TEST_F(FormTest, OnlyALeftDoubleClickOnTheIconRestoresTheWindow) {
  Load();
  form.Command1_Click();
  for (unsigned message : {0x200u, 0x201u, 0x202u, 0x204u, 0x205u, 0x206u})
    form.TrayIcon_Notify(message);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(system.trayIcons, 1);

  view.events.clear();
  form.TrayIcon_Notify(0x203);
  EXPECT_EQ(view.events, (std::vector<std::wstring>{L"show", L"remove icon"}));
  EXPECT_EQ(system.trayIcons, 0);

  form.TrayIcon_Notify(0x203);
  EXPECT_EQ(system.trayIcons, 0);
  form.Command1_Click();
  EXPECT_EQ(system.trayIcons, 1);
}

TEST_F(FormTest, AnotherStartRestoresFromTheTrayAsADoubleClickWould) {
  Load();
  EXPECT_EQ(system.runningInstanceShows, 0);
  form.Command1_Click();
  view.events.clear();
  form.AnotherInstance_Started();
  EXPECT_EQ(view.events, (std::vector<std::wstring>{L"show", L"remove icon"}));
  form.AnotherInstance_Started();
  EXPECT_EQ(view.events.back(), L"show") << "brought to the front";
  EXPECT_EQ(system.trayIcons, 0);
  form.Command1_Click();
  EXPECT_EQ(system.trayIcons, 1);
}

TEST_F(FormTest, ANewTaskbarGetsTheIconBackOnlyWhileHidden) {
  Load();
  form.TaskbarCreated();
  EXPECT_EQ(system.trayAdds, 0);
  form.Command1_Click();
  system.trayIcons = 0;  // the old taskbar took it along
  form.TaskbarCreated();
  EXPECT_EQ(system.trayIcons, 1);
}

TEST_F(FormTest, ARefusedTrayIconIsTriedAgainOnTheNextTicksUntilTheShellTakesIt) {
  Load();
  form.Timer1_Timer();
  EXPECT_EQ(system.trayAdds, 0) << "no icon while the window is shown";
  system.trayRefusals = 2;
  form.Command1_Click();
  EXPECT_FALSE(view.visible);
  form.Timer1_Timer();
  EXPECT_EQ(system.trayIcons, 0);
  form.Timer1_Timer();
  EXPECT_EQ(system.trayIcons, 1);
  form.Timer1_Timer();
  EXPECT_EQ(system.trayAdds, 3);
}

TEST_F(FormTest, ThePressedBoxTogglesAndRegisters) {
  Load();
  form.开机自动运行_Pressed();
  EXPECT_EQ(view.shownAutostart, 1);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_EQ(file.Value(kSystem, L"开机自动运行"), L"1");
  form.开机自动运行_Pressed();
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(file.Value(kSystem, L"开机自动运行"), L"0");
}

// An administrator whom UAC filters, with the program in a protected folder.
TEST_F(FormTest, ThePressedBoxMakesTheLogonTaskAfterConsentAndASecondPressDeletesIt) {
  logonTasks.token = 开机运行::TokenKind::Filtered;
  runKey.values[RunKeyHive::CurrentUser][开机运行::kRunValueName] = kExe;
  Load();
  EXPECT_TRUE(view.autostartShield);
  form.开机自动运行_Pressed();
  EXPECT_EQ(file.Value(kSystem, L"开机自动运行"), L"1");
  ASSERT_EQ(logonTasks.starts.size(), 1u);
  EXPECT_EQ(logonTasks.starts[0].step, 开机运行::TaskStep::Create);
  EXPECT_TRUE(logonTasks.starts[0].throughConsent);

  form.LogonTask_Changed(logonTasks.starts[0].number, 开机运行::TaskChangeEnd::Done);
  EXPECT_TRUE(runKey.values[RunKeyHive::LocalMachine].empty());
  EXPECT_TRUE(runKey.values[RunKeyHive::CurrentUser].empty());
  EXPECT_EQ(view.tooltip, L"");
  EXPECT_TRUE(view.autostartShield) << "releasing it asks too";

  form.开机自动运行_Pressed();
  EXPECT_EQ(file.Value(kSystem, L"开机自动运行"), L"0");
  ASSERT_EQ(logonTasks.starts.size(), 2u);
  EXPECT_EQ(logonTasks.starts[1].step, 开机运行::TaskStep::Delete);
  EXPECT_TRUE(logonTasks.starts[1].throughConsent);
}

TEST_F(FormTest, ADeclinedPromptLeavesTheRunValueAndTellsWhyInTheTooltipAndTheTray) {
  logonTasks.token = 开机运行::TokenKind::Filtered;
  Load();
  form.开机自动运行_Pressed();
  ASSERT_EQ(logonTasks.starts.size(), 1u);
  form.LogonTask_Changed(logonTasks.starts[0].number, 开机运行::TaskChangeEnd::Declined);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  const std::wstring reason =
      开机运行::RegistrationReason(开机运行::RegistrationProblem::CreateDeclined);
  EXPECT_EQ(view.tooltip, reason);
  EXPECT_EQ(system.trayTip, std::wstring(kTrayTip) + L"\n" + reason);
}

TEST_F(FormTest, AStartWithAStoredTickedBoxAndTheFullTokenRenewsTheTaskWithoutConsent) {
  logonTasks.token = 开机运行::TokenKind::Elevated;
  StoreSettings(L"10.0.0.1", L"1", L"30");
  Load();
  ASSERT_EQ(logonTasks.starts.size(), 1u);
  EXPECT_EQ(logonTasks.starts[0].step, 开机运行::TaskStep::Create);
  EXPECT_FALSE(logonTasks.starts[0].throughConsent);
  EXPECT_FALSE(view.autostartShield);
  form.LogonTask_Changed(logonTasks.starts[0].number, 开机运行::TaskChangeEnd::Done);
  EXPECT_EQ(logonTasks.starts.size(), 1u);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt) << "no second registration";
  EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), std::nullopt);
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(FormTest, AnUnprotectedFolderKeepsTheRunValueAndTellsTheRule) {
  logonTasks.token = 开机运行::TokenKind::Elevated;
  logonTasks.exe = 开机运行::ExeForTask::Unprotected;
  Load();
  // The full token removes a task left from before at start.
  ASSERT_EQ(logonTasks.starts.size(), 1u);
  EXPECT_EQ(logonTasks.starts[0].step, 开机运行::TaskStep::Delete);
  form.开机自动运行_Pressed();
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_EQ(view.tooltip,
            开机运行::RegistrationReason(开机运行::RegistrationProblem::ExeUnprotected));
  form.LogonTask_Changed(logonTasks.starts[0].number, 开机运行::TaskChangeEnd::Failed);
  EXPECT_EQ(view.tooltip,
            开机运行::RegistrationReason(开机运行::RegistrationProblem::ExeUnprotected))
      << "a load's end tells nothing";
  form.开机自动运行_Pressed();
  EXPECT_EQ(view.tooltip, L"");
  ASSERT_EQ(logonTasks.starts.size(), 2u) << "a task made before may be there all the same";
  EXPECT_EQ(logonTasks.starts[1].step, 开机运行::TaskStep::Delete);
}

TEST_F(FormTest, PressingAGreyedBoxTicksIt) {
  StoreSettings(L"10.0.0.1", L"2", L"30");
  Load();
  form.开机自动运行_Pressed();
  EXPECT_EQ(form.开机自动运行Value(), 1);
}

TEST_F(FormTest, ScrollingMovesByOneWithinTheRange) {
  Load();
  form.滚动条_Scroll(ScrollRequest::LineLeft, 0);
  EXPECT_EQ(view.label4, IntervalCaption(29));
  form.滚动条_Scroll(ScrollRequest::PageRight, 0);
  form.滚动条_Scroll(ScrollRequest::PageRight, 0);
  EXPECT_EQ(form.滚动条Value(), 31);
  form.滚动条_Scroll(ScrollRequest::ToMaximum, 0);
  file.writes.clear();
  form.滚动条_Scroll(ScrollRequest::LineRight, 0);
  EXPECT_EQ(form.滚动条Value(), 100);
  EXPECT_TRUE(file.writes.empty());  // no change, no event
  form.滚动条_Scroll(ScrollRequest::ThumbAt, 0);
  EXPECT_EQ(view.shownInterval, 0);
  EXPECT_EQ(view.网络时间, kNoIntervalCaption);
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"0");
}

TEST_F(FormTest, ADragRelabelsAsTheThumbMovesAndChangesOnceOnRelease) {
  Load();
  for (int position = 29; position >= 8; --position)
    form.滚动条_Scroll(ScrollRequest::ThumbTrack, position);
  EXPECT_EQ(view.label4, IntervalCaption(8));
  EXPECT_EQ(form.滚动条Value(), 30);
  EXPECT_TRUE(file.writes.empty());
  form.滚动条_Scroll(ScrollRequest::ThumbAt, 8);
  EXPECT_EQ(form.滚动条Value(), 8);
  EXPECT_EQ(view.网络时间, kWaitingCaption);
  EXPECT_EQ(file.writes.size(), 3u) << "one save";

  file.writes.clear();
  form.滚动条_Scroll(ScrollRequest::ThumbTrack, 50);
  form.滚动条_Scroll(ScrollRequest::ThumbAt, 8);
  EXPECT_EQ(view.label4, IntervalCaption(8)) << "back where it started";
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(FormTest, ClosingSavesTheTypedAddress) {
  Load();
  view.address = L"10.9.8.7";
  form.Form_Unload();
  EXPECT_EQ(file.Value(kNetwork, L"服务器路径"), L"10.9.8.7");
}

// Whatever was edited in the file meanwhile stays.
TEST_F(FormTest, ClosingWithTheAddressAsLastSavedWritesNothing) {
  StoreSettings(L"10.0.0.1", L"0", L"10");
  form.Form_Load();
  view.address = L"10.0.0.2";
  form.Set滚动条Value(20);
  file.writes.clear();
  form.Form_Unload();
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(FormTest, AFailedSaveIsToldOnceAndClosingTriesAgain) {
  Load();
  file.writeFailure = 定义::FileFailure{定义::FileProblem::ReadOnly, 5};
  form.Set滚动条Value(20);
  form.Set滚动条Value(21);
  EXPECT_EQ(view.tooltip, L"设置没有保存：配置.INI 是只读文件");
  EXPECT_EQ(view.tooltipSets, 1);
  // Back at the value loaded, which no file holds yet: only the failed save
  // says that something is left to write.
  form.Set滚动条Value(30);

  file.writeFailure.reset();
  form.Form_Unload();
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"30");
  EXPECT_EQ(view.tooltip, L"");
}

// Edited by hand while the program runs: what the window did not change
// stays as the file holds it, and an address loaded cut is not written back.
TEST_F(FormTest, ASaveWritesOnlyWhatTheWindowChanged) {
  const std::wstring longAddress(299, L'1');
  StoreSettings(longAddress.c_str(), L"0", L"10");
  Load();
  file.Edit({{kSystem, L"校时间隔", L"25"}});
  form.Command1_Click();
  EXPECT_TRUE(file.writes.empty());
  form.TrayIcon_Notify(kTrayLeftDoubleClick);
  form.开机自动运行_Pressed();
  form.Form_Unload();
  EXPECT_EQ(file.writes, std::vector<std::wstring>{L"系统配置/开机自动运行=1"});
  EXPECT_EQ(file.Value(kNetwork, L"服务器路径"), longAddress);
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"25");
  EXPECT_EQ(form.滚动条Value(), 10) << "the window keeps its own value";
}

TEST_F(FormTest, AFailedSaveIsTriedAgainEverySecondUntilItSucceeds) {
  StoreSettings(L"10.0.0.1", L"0", L"10");
  Load();
  file.writeFailure = 定义::FileFailure{定义::FileProblem::InUse, 32};
  form.Set滚动条Value(20);
  form.Timer2_Timer();
  EXPECT_EQ(file.writes.size(), 2u);
  EXPECT_EQ(view.tooltip, L"设置没有保存：配置.INI 正被其他程序占用");

  file.writeFailure.reset();
  form.Timer2_Timer();
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"20");
  EXPECT_EQ(view.tooltip, L"");
  form.Timer2_Timer();
  EXPECT_EQ(file.writes.size(), 3u) << "saved: not tried again";
}

// Ticked, so registered, but the save failed and the file kept 0: at the
// next start the file decides, and the box and the registration agree.
TEST_F(FormTest, ARegistrationTheFileDoesNotHoldIsRemovedAtTheNextStart) {
  StoreSettings(L"10.0.0.1", L"0", L"30");
  Load();
  file.writeFailure = 定义::FileFailure{定义::FileProblem::ReadOnly, 5};
  form.开机自动运行_Pressed();
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  const std::wstring otherCopy = L"D:\\Other\\LanTimeSync.exe";
  runKey.values[RunKeyHive::CurrentUser][开机运行::kRunValueName] = otherCopy;

  for (const auto state : {定义::IniFileState::Read, 定义::IniFileState::Missing}) {
    file.state = state;
    runKey.values[RunKeyHive::LocalMachine][开机运行::kRunValueName] = kExe;
    同步软件 restarted{view, system, system, clockRight, logonTasks, file, runKey, kExe};
    restarted.Form_Load();
    EXPECT_EQ(restarted.开机自动运行Value(), 0);
    EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), std::nullopt);
    EXPECT_EQ(runKey.Value(RunKeyHive::CurrentUser), otherCopy) << "another copy's";
  }
}

// The press counts for this run only; the tip says so rather than only that
// the settings were not saved.
TEST_F(FormTest, APressTheFileCannotTakeTellsThatTheNextStartUndoesIt) {
  StoreSettings(L"10.0.0.1", L"1", L"30");
  Load();
  file.writeFailure = 定义::FileFailure{定义::FileProblem::ReadOnly, 5};
  form.开机自动运行_Pressed();
  EXPECT_EQ(view.tooltip,
            L"取消开机自动运行没有保存：配置.INI 是只读文件。下次启动时按钮又是按下的，"
            L"开机自动运行随之恢复");
  form.开机自动运行_Pressed();
  EXPECT_EQ(view.tooltip, L"") << "back as the file holds it";

  StoreSettings(L"10.0.0.1", L"0", L"30");
  同步软件 restarted{view, system, system, clockRight, logonTasks, file, runKey, kExe};
  restarted.Form_Load();
  restarted.Set滚动条Value(20);
  restarted.开机自动运行_Pressed();
  EXPECT_EQ(view.tooltip,
            L"开机自动运行没有保存：配置.INI 是只读文件。下次启动时按钮是弹起的，"
            L"开机自动运行随之取消");
}

TEST_F(FormTest, TheLastAttemptsReasonAndAFailedSaveShareTheTooltipAndTheTrayTip) {
  Load();
  form.Command2_Click();
  form.ProbeHost_Completed(system.LastEcho(ProbeFor::Sync), false);
  file.writeFailure = 定义::FileFailure{定义::FileProblem::ReadOnly, 5};
  form.Set滚动条Value(20);
  const std::wstring reason = L"上次同步 03:50:36：失败，服务器没有应答，请检查地址和网络。";
  const std::wstring notice = L"设置没有保存：配置.INI 是只读文件";
  EXPECT_EQ(view.tooltip, reason + L"\r\n" + notice);
  EXPECT_EQ(system.trayTip, std::wstring(kTrayTip) + L"\n" + reason + L"\n" + notice);

  file.writeFailure.reset();
  form.Set滚动条Value(21);
  EXPECT_EQ(view.tooltip, reason);
  EXPECT_EQ(system.trayTip, std::wstring(kTrayTip) + L"\n" + reason);
}

// A file that is there but locked at start: nothing is written over the
// values it holds until they have been read, and then they are loaded.
TEST_F(FormTest, AnUnreadableFileIsNeverWrittenAndIsLoadedOnceItCanBeRead) {
  StoreSettings(L"10.0.0.1", L"0", L"10");
  file.state = 定义::IniFileState::Unreadable;
  form.Form_Load();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.address, L"192.168.1.1");
  EXPECT_EQ(form.滚动条Value(), 30);
  EXPECT_NE(view.tooltip, L"");

  view.address = L"10.9.8.7";
  form.Command1_Click();
  form.TrayIcon_Notify(kTrayLeftDoubleClick);
  form.Timer2_Timer();
  form.Timer2_Timer();
  EXPECT_TRUE(file.writes.empty());
  EXPECT_EQ(view.tooltipSets, 1) << "told once, not on every tick";

  // What the user typed meanwhile wins; what they did not touch is loaded.
  file.state = 定义::IniFileState::Read;
  form.Timer2_Timer();
  EXPECT_EQ(view.address, L"10.9.8.7");
  EXPECT_EQ(view.label4, IntervalCaption(10));
  EXPECT_EQ(file.writes, std::vector<std::wstring>{L"网络配置/服务器路径=10.9.8.7"});
  EXPECT_EQ(view.tooltip, L"");
  const int reads = file.reads;
  form.Timer2_Timer();
  EXPECT_EQ(file.reads, reads) << "read once";
  form.Form_Unload();
  EXPECT_EQ(file.writes.size(), 1u);
  form.Set滚动条Value(20);
  EXPECT_EQ(file.Value(kSystem, L"校时间隔"), L"20");
}

// The user may be working in the window by then: it stays where it is.
TEST_F(FormTest, AStartWithWindowsWhoseFileWasLockedStaysShownOnceItIsRead) {
  StoreSettings(L"10.0.0.1", L"1", L"30");
  file.state = 定义::IniFileState::Unreadable;
  form.Form_Load();
  EXPECT_TRUE(view.visible);
  file.state = 定义::IniFileState::Read;
  form.Timer2_Timer();
  EXPECT_EQ(form.开机自动运行Value(), 1);
  EXPECT_EQ(runKey.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(form.IsHiddenInTray());
  EXPECT_EQ(system.trayIcons, 0);
}

TEST_F(FormTest, EndingWhileHiddenLeavesNoIconBehind) {
  Load();
  form.Command1_Click();
  form.Form_Unload();
  EXPECT_EQ(system.trayIcons, 0);
}

TEST_F(FormTest, ThePictureShowsTheUsage) {
  Load();
  form.Image1_Click();
  EXPECT_EQ(system.usage, (std::vector<std::wstring>{kProgramName, kUsageText}));
}

// The note is modal, yet F1 in it reaches the window, again and again.
TEST_F(FormTest, TheUsageIsShownOnceAtATime) {
  Load();
  system.whileUsageIsShown = [&] {
    for (int press = 0; press < 3; ++press) form.Image1_Click();
  };
  form.Image1_Click();
  EXPECT_EQ(system.mostUsageNotesOpen, 1);
  system.usage.clear();
  form.Image1_Click();
  EXPECT_FALSE(system.usage.empty()) << "shown again once closed";
}

}  // namespace

namespace {

// In a protected folder: the user's own file over the administrator's preset.
class FormOverPresetTest : public testing::Test, public FakedForm {
 protected:
  FormOverPresetTest() : FakedForm(true) {
    system.events = &view.events;
    file.state = 定义::IniFileState::Missing;
    preset.Edit({{kNetwork, L"服务器路径", L"10.0.0.5"}, {kSystem, L"校时间隔", L"15"}});
  }
};

// A key the user never changed follows the preset, a new one included.
TEST_F(FormOverPresetTest, TheUsersFileHoldsWhatTheyChangedAndThePresetTheRest) {
  form.Form_Load();
  EXPECT_EQ(view.address, L"10.0.0.5");
  EXPECT_EQ(form.滚动条Value(), 15);
  EXPECT_EQ(form.开机自动运行Value(), 0) << "in neither file";
  form.Set滚动条Value(20);
  form.Form_Unload();
  EXPECT_EQ(file.writes, std::vector<std::wstring>{L"系统配置/校时间隔=20"});

  file.state = 定义::IniFileState::Read;  // made by the save
  preset.Edit({{kNetwork, L"服务器路径", L"10.0.0.6"}, {kSystem, L"开机自动运行", L"1"}});
  同步软件 restarted{view, system, system, clockRight, logonTasks, Files(), runKey, kExe};
  restarted.Form_Load();
  EXPECT_EQ(view.address, L"10.0.0.6");
  EXPECT_EQ(restarted.滚动条Value(), 20);
  EXPECT_EQ(restarted.开机自动运行Value(), 1);
  EXPECT_EQ(preset.saves, 0);
}

TEST_F(FormOverPresetTest, TheNoticesNameTheFileTheyMean) {
  preset.state = 定义::IniFileState::Unreadable;
  form.Form_Load();
  form.Set滚动条Value(20);
  EXPECT_EQ(view.tooltip,
            L"设置尚未读取：程序所在文件夹里预设的 配置.INI 正被其他程序占用。"
            L"读到之前，窗口显示默认值，改动不会保存");

  preset.state = 定义::IniFileState::Read;
  file.writeFailure = 定义::FileFailure{定义::FileProblem::AccessDenied, 5};
  form.Timer2_Timer();
  EXPECT_EQ(form.滚动条Value(), 20) << "changed while unread: the window's value wins";
  EXPECT_EQ(view.address, L"10.0.0.5");
  EXPECT_EQ(view.tooltip, L"设置没有保存：没有写入 %APPDATA%\\局域网时间同步软件\\配置.INI 的权限");
  form.开机自动运行_Pressed();
  EXPECT_EQ(view.tooltip,
            L"开机自动运行没有保存：没有写入 %APPDATA%\\局域网时间同步软件\\配置.INI 的权限。"
            L"下次启动时按钮是弹起的，开机自动运行随之取消");
  EXPECT_EQ(preset.saves, 0);
}

}  // namespace
