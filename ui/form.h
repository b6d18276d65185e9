#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "autostart/run_key.h"
#include "autostart/registration.h"
#include "settings/settings.h"
#include "settings/settings_keeper.h"
#include "sync/clock_right.h"
#include "sync/status_probe.h"
#include "sync/sync_attempt.h"
#include "sync/sync_system.h"
#include "ui/form_view.h"
#include "ui/tray_hiding.h"

enum class ScrollRequest {
  LineLeft,
  LineRight,
  PageLeft,
  PageRight,
  ToMinimum,
  ToMaximum,
  ThumbTrack,  // the thumb is being dragged
  ThumbAt,     // the thumb was released
};

// The main window's behaviour: one handler per control and event. The
// handlers pass each event on to the part of the program it concerns and
// show what comes back.
class 同步软件 final : public 定义::SettingsControls {
 public:
  同步软件(FormView& view, FormSystem& system, SyncSystem& sync, ClockRightQuery& clockRight,
           开机运行::LogonTaskSystem& logonTasks, const 定义::SettingsFiles& settingsFiles,
           开机运行::RunKey& runKey, std::wstring runValueData);

  void Form_Load();
  // The close box, and the end of the Windows session.
  void Form_Unload();
  void Command1_Click();
  void Command2_Click();
  // The user's click on the start-with-Windows button.
  void 开机自动运行_Pressed();
  void 滚动条_Scroll(ScrollRequest request, int thumbPosition);
  void Image1_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void TrayIcon_Notify(unsigned mouseMessage);
  // The program was started again; that copy has ended.
  void AnotherInstance_Started();
  void TaskbarCreated();
  void ProbeHost_Completed(EchoTicket echo, bool answered);
  void ConsentPrompt_Ended(std::uint32_t command, ElevatedStart start);
  void SyncCommand_Ended(const CommandEnd& ended);
  void SntpQuestion_Ended(std::uint32_t question, const sntp::Answer& answer);
  void LogonTask_Changed(std::uint32_t number, 开机运行::TaskChangeEnd end);

  bool IsHiddenInTray() const { return tray_.IsHidden(); }
  std::int64_t SyncTickCount() const { return SyncTickCount_; }

  // The scroll bar's value set as the user sets it: the change is saved.
  bool Set滚动条Value(int value);

  std::wstring 服务器路径Text() const override;
  void Load服务器路径Text(const std::wstring& text) override;
  int 开机自动运行Value() const override { return 开机自动运行_; }
  bool Load开机自动运行Value(int value) override;
  int 滚动条Value() const override { return 滚动条_; }
  bool Load滚动条Value(int value) override;

 private:
  void ShowInterval();
  void Synchronise(SyncTrigger trigger);
  std::optional<ClockRight> ReadClockRight();
  void SaveChangedSettings();
  void ShowIfEnded(const std::optional<SyncOutcome>& outcome);
  void ShowSettingsNotice();
  void ShowStatusDetail();
  void ShowRegistration();
  void ShowReachability(const std::optional<bool>& reachable);

  FormView& view_;
  FormSystem& system_;
  ClockRightQuery& clockRight_;
  // Before the keeper, which registers at the load.
  开机运行::Registration registration_;
  定义::SettingsKeeper settings_;
  TrayHiding tray_;
  StatusProbe statusProbe_;
  SyncAttempt syncAttempt_;

  int 开机自动运行_ = 0;
  int 滚动条_;
  std::int64_t SyncTickCount_ = 0;
  // An attempt's outcome shown since the interval last changed: it stays,
  // and an interval of 0 no longer writes over it.
  bool outcomeShown_ = false;
  // The modal usage note is open: F1 in it reaches the window all the same.
  bool usageShown_ = false;
  std::wstring syncReason_, settingsNotice_, registrationReason_;
};
