#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/autostart.h"
#include "settings/settings.h"
#include "sync/clock_right.h"
#include "sync/sync_outcome.h"
#include "ui/form_view.h"

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

// The main window's behaviour: one handler per control and event.
class 同步软件 final : public 定义::SettingsControls {
 public:
  同步软件(FormView& view, FormSystem& system, ClockRightQuery& clockRight, 定义::IniFile& iniFile,
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
  void SyncCommand_Ended(const CommandEnd& ended);

  bool IsHiddenInTray() const { return hiddenInTray_; }
  std::int64_t SyncTickCount() const { return SyncTickCount_; }

  std::wstring 服务器路径Text() const override;
  void Set服务器路径Text(const std::wstring& text) override;
  int 开机自动运行Value() const override { return 开机自动运行_; }
  bool Set开机自动运行Value(int value) override;
  int 滚动条Value() const override { return 滚动条_; }
  bool Set滚动条Value(int value) override;

 private:
  void 开机自动运行_Click();
  void 滚动条_Change();
  void LoadStoredSettings();
  void RetryUnreadSettings();
  void Save();
  void ShowSettingsNotice(const std::wstring& notice);
  void HideToTray();
  void RestoreFromTray();
  void RetryTrayIcon();
  void Synchronise(SyncTrigger trigger);
  std::optional<ClockRight> ReadClockRight();
  // An echo waited for: which one, and since when.
  struct EchoOut {
    EchoTicket ticket;
    std::chrono::milliseconds sentAt;
  };
  std::optional<EchoOut> SendProbe(ProbeFor prober, const std::wstring& addressText);
  bool IsOverdue(const EchoOut& echo) const;
  void StatusProbe_Completed(bool answered);
  void SyncProbe_Completed(bool answered);
  std::optional<SyncOutcome> StartSyncCommand();
  void EndOverdueSyncAttempt();
  void EndSyncAttempt(const SyncOutcome& outcome);
  void ShowStatusDetail();
  void ShowReachability(bool reachable);

  FormView& view_;
  FormSystem& system_;
  ClockRightQuery& clockRight_;
  定义::IniFile& iniFile_;
  开机运行::RunKey& runKey_;
  const std::wstring runValueData_;

  int 开机自动运行_ = 0;
  int 滚动条_;
  bool hiddenInTray_ = false;
  bool trayIconAdded_ = false;
  // A settings file that is there but could not be read yet is never
  // written: that would overwrite the values it holds.
  bool settingsUnread_ = false;
  bool loadingSettings_ = false;
  // Someone started the program again to see it: a late read of the file
  // must not hide the window into the tray after all.
  bool showRequested_ = false;
  // What the file holds, as far as the window knows: a save writes only
  // what differs from it.
  定义::StoredSettings storedSettings_;
  // Tried again every second until it succeeds or a newer save replaces it.
  bool saveFailed_ = false;
  std::wstring settingsNotice_;
  std::wstring syncReason_;
  // An attempt's outcome shown since the interval last changed: it stays,
  // and an interval of 0 no longer writes over it.
  bool outcomeShown_ = false;
  std::int64_t SyncTickCount_ = 0;

  std::uint32_t echoesSent_ = 0;
  // The status echo waited for, and the text it was sent for.
  std::optional<EchoOut> statusEcho_;
  std::wstring statusEchoText_;
  // A sync attempt waits first for its echo, then for its command.
  enum class SyncAttempt { None, Probing, Running };
  SyncAttempt syncAttempt_ = SyncAttempt::None;
  EchoOut syncEcho_{};  // while Probing
  std::wstring syncAddress_;
  SyncRoute syncRoute_ = SyncRoute::Direct;
  std::chrono::milliseconds syncCommandStarted_{};
};
