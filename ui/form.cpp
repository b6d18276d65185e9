#include "ui/form.h"

#include <algorithm>

#include "sync/address.h"
#include "sync/scheduler.h"
#include "sync/sync_command.h"
#include "ui/colours.h"
#include "ui/layout.h"
#include "ui/tray_icon.h"

namespace {

// An echo ends by its 200 ms time-out at the latest. One whose end has not
// come after a second never will: it no longer holds back the next one, and
// its end, should it come after all, is dropped.
constexpr std::chrono::seconds kEchoGivenUpAfter{1};

constexpr wchar_t kNoIntervalCaption[] = L"没有设定自动校时间隔";
constexpr wchar_t kWaitingCaption[] = L"等待同步";
constexpr wchar_t kUsageText[] =
    L"【使用说明】\r\n\r\n"
    L"本软件设置局域网内目标计算机IP地址，和校准时间间隔设定后，本机即可与局域网的目标计算机同步时"
    L"间。";

std::wstring IntervalCaption(int minutes) {
  return L"每隔 " + std::to_wstring(minutes) + L" 分钟校时一次";
}

int ScrolledValue(int current, ScrollRequest request, int thumbPosition) {
  switch (request) {
    case ScrollRequest::LineLeft:
    case ScrollRequest::PageLeft: return current - 1;
    case ScrollRequest::LineRight:
    case ScrollRequest::PageRight: return current + 1;
    case ScrollRequest::ToMinimum: return kScrollMinimum;
    case ScrollRequest::ToMaximum: return kScrollMaximum;
    case ScrollRequest::ThumbTrack:
    case ScrollRequest::ThumbAt: return thumbPosition;
  }
  return current;
}

}  // namespace

同步软件::同步软件(FormView& view, FormSystem& system, ClockRightQuery& clockRight,
                   定义::IniFile& iniFile, 开机运行::RunKey& runKey, std::wstring runValueData)
    : view_(view),
      system_(system),
      clockRight_(clockRight),
      iniFile_(iniFile),
      runKey_(runKey),
      runValueData_(std::move(runValueData)),
      滚动条_(kScrollDesignValue) {}

void 同步软件::Form_Load() {
  if (system_.IsAnotherInstanceRunning()) {
    // Whoever starts the program again wants to see it.
    system_.ShowRunningInstance();
    view_.UnloadForm();
    return;
  }
  SyncTickCount_ = 0;
  ReadClockRight();
  LoadStoredSettings();
  if (开机自动运行_ == 1)
    HideToTray();
  else
    view_.ShowForm();
}

void 同步软件::Form_Unload() {
  // Closing must not lose an address typed since the last save, nor a save
  // still failing, nor write over what was edited in the file meanwhile.
  if (saveFailed_ || 定义::HasUnsavedChange(*this, storedSettings_)) Save();
  if (hiddenInTray_) {
    system_.RemoveTrayIcon();
    hiddenInTray_ = false;
  }
}

void 同步软件::Command1_Click() {
  Save();
  HideToTray();
}

void 同步软件::Command2_Click() { Synchronise(SyncTrigger::Click); }

void 同步软件::Synchronise(SyncTrigger trigger) {
  SyncTickCount_ = 0;
  // An attempt still waiting for its echo or its command is the one that counts.
  if (syncAttempt_ != SyncAttempt::None) return;
  syncAddress_ = view_.服务器路径Text();
  syncRoute_ = ChooseSyncRoute(ReadClockRight(), trigger);
  if (const auto echo = SendProbe(ProbeFor::Sync, syncAddress_)) {
    syncEcho_ = *echo;
    syncAttempt_ = SyncAttempt::Probing;
  } else {
    EndSyncAttempt({SyncEnd::NoAnswer});
  }
}

// Read before each attempt, so that the shield always matches what a click
// would do.
std::optional<ClockRight> 同步软件::ReadClockRight() {
  const std::optional<ClockRight> right = clockRight_.ReadClockRight();
  view_.SetCommand2Shield(NeedsShield(right));
  return right;
}

void 同步软件::开机自动运行_Pressed() {
  // A greyed box counts as not ticked, so pressing it ticks it.
  Set开机自动运行Value(开机自动运行_ == 1 ? 0 : 1);
}

void 同步软件::开机自动运行_Click() {
  开机运行::SetAutostart(开机自动运行_ == 1, runKey_, runValueData_);
  Save();
}

// A drag is one change, made when the thumb is released; until then only
// Label4 follows the thumb, and the settings file is not written.
void 同步软件::滚动条_Scroll(ScrollRequest request, int thumbPosition) {
  const int target =
      std::clamp(ScrolledValue(滚动条_, request, thumbPosition), kScrollMinimum, kScrollMaximum);
  if (request == ScrollRequest::ThumbTrack) {
    view_.SetLabel4Caption(IntervalCaption(target));
    return;
  }
  const int before = 滚动条_;
  Set滚动条Value(target);
  // Released where it started: no change, but the caption followed the drag.
  if (滚动条_ == before) view_.SetLabel4Caption(IntervalCaption(滚动条_));
}

void 同步软件::滚动条_Change() {
  outcomeShown_ = false;
  view_.SetLabel4Caption(IntervalCaption(滚动条_));
  view_.Set网络时间Caption(滚动条_ < 1 ? kNoIntervalCaption : kWaitingCaption);
  Save();
}

void 同步软件::Image1_Click() { system_.ShowUsage(kProgramName, kUsageText); }

void 同步软件::Timer1_Timer() {
  RetryTrayIcon();
  view_.Set本机时间Caption(L"本机时间 " + system_.LongTimeNow());
  if (statusEcho_) {
    // One echo at a time: a silent server gets no more than before.
    if (!IsOverdue(*statusEcho_)) return;
    StatusProbe_Completed(false);
  }
  statusEchoText_ = view_.服务器路径Text();
  statusEcho_ = SendProbe(ProbeFor::Status, statusEchoText_);
  if (!statusEcho_) ShowReachability(false);
}

void 同步软件::Timer2_Timer() {
  if (settingsUnread_) RetryUnreadSettings();
  if (saveFailed_) Save();
  EndOverdueSyncAttempt();
  switch (AdvanceSyncSchedule(滚动条_, SyncTickCount_)) {
    case ScheduleTick::NoInterval:
      if (!outcomeShown_) view_.Set网络时间Caption(kNoIntervalCaption);
      break;
    case ScheduleTick::SyncDue: Synchronise(SyncTrigger::Schedule); break;
    case ScheduleTick::Counting: break;
  }
}

void 同步软件::TrayIcon_Notify(unsigned mouseMessage) {
  if (mouseMessage == kTrayLeftDoubleClick && hiddenInTray_) RestoreFromTray();
}

void 同步软件::AnotherInstance_Started() {
  showRequested_ = true;
  if (hiddenInTray_)
    RestoreFromTray();
  else
    view_.ShowForm();  // to the front
}

void 同步软件::TaskbarCreated() {
  // A new taskbar starts without our icon; without it the window is lost.
  if (hiddenInTray_) trayIconAdded_ = system_.AddTrayIcon();
}

std::wstring 同步软件::服务器路径Text() const { return view_.服务器路径Text(); }

void 同步软件::Set服务器路径Text(const std::wstring& text) { view_.Set服务器路径Text(text); }

bool 同步软件::Set开机自动运行Value(int value) {
  if (value < 0 || value > 2) return false;
  if (value != 开机自动运行_) {
    开机自动运行_ = value;
    view_.Show开机自动运行(value);
    开机自动运行_Click();
  }
  return true;
}

bool 同步软件::Set滚动条Value(int value) {
  if (value < kScrollMinimum || value > kScrollMaximum) return false;
  if (value != 滚动条_) {
    滚动条_ = value;
    view_.Show滚动条(value);
    滚动条_Change();
  }
  return true;
}

void 同步软件::LoadStoredSettings() {
  loadingSettings_ = true;
  const 定义::IniFileRead read = 定义::LoadSettings(iniFile_, *this);
  loadingSettings_ = false;
  settingsUnread_ = read.state == 定义::IniFileState::Unreadable;
  if (settingsUnread_) {
    ShowSettingsNotice(定义::NotReadNotice(read.whyUnreadable));
    return;
  }
  storedSettings_ = 定义::StoredSettingsOf(*this, read.state == 定义::IniFileState::Read);
  // The file decides whether the program starts with Windows: a registration
  // left by a tick whose save failed would start it behind an unticked box.
  if (开机自动运行_ != 1) 开机运行::RemoveOwnAutostart(runKey_, runValueData_);
  ShowSettingsNotice(L"");
}

// Loads the file as at start, handlers and all, once it can be read; a
// program started with Windows then goes to the tray as it would have.
void 同步软件::RetryUnreadSettings() {
  LoadStoredSettings();
  if (!settingsUnread_ && 开机自动运行_ == 1 && !showRequested_) HideToTray();
}

void 同步软件::Save() {
  // While loading, the controls take the stored values: there is nothing new
  // to write, and a refused stored value must not be overwritten.
  if (loadingSettings_ || settingsUnread_) return;
  const auto failure = 定义::SaveSettings(iniFile_, *this, storedSettings_);
  saveFailed_ = failure.has_value();
  ShowSettingsNotice(failure ? 定义::NotSavedNotice(*failure) : L"");
}

// Told once: the same notice is not set again on every save or tick.
void 同步软件::ShowSettingsNotice(const std::wstring& notice) {
  if (notice == settingsNotice_) return;
  settingsNotice_ = notice;
  ShowStatusDetail();
}

void 同步软件::HideToTray() {
  if (hiddenInTray_) return;
  trayIconAdded_ = system_.AddTrayIcon();
  view_.HideForm();
  hiddenInTray_ = true;
}

void 同步软件::RestoreFromTray() {
  view_.ShowForm();
  system_.RemoveTrayIcon();
  hiddenInTray_ = false;
}

// At logon the shell may still refuse the icon, and no "TaskbarCreated" need
// follow: without another try the hidden window could not be reached.
void 同步软件::RetryTrayIcon() {
  if (hiddenInTray_ && !trayIconAdded_) trayIconAdded_ = system_.AddTrayIcon();
}

void 同步软件::ProbeHost_Completed(EchoTicket echo, bool answered) {
  if (statusEcho_ && statusEcho_->ticket == echo)
    StatusProbe_Completed(answered);
  else if (syncAttempt_ == SyncAttempt::Probing && syncEcho_.ticket == echo)
    SyncProbe_Completed(answered);
  // Else the end of an echo given up on, which changes nothing now.
}

void 同步软件::SyncCommand_Ended(const CommandEnd& ended) {
  EndSyncAttempt(CommandOutcome(ended.exitCode, ended.output));
}

// A text that is no address is not sent: nobody could answer it.
std::optional<同步软件::EchoOut> 同步软件::SendProbe(ProbeFor prober,
                                                     const std::wstring& addressText) {
  const auto address = ping::DottedQuadToAddress(addressText);
  if (!address) return std::nullopt;
  const EchoOut echo{{prober, ++echoesSent_}, system_.SteadyNow()};
  system_.ProbeHost(echo.ticket, *address);
  return echo;
}

bool 同步软件::IsOverdue(const EchoOut& echo) const {
  return system_.SteadyNow() - echo.sentAt >= kEchoGivenUpAfter;
}

void 同步软件::StatusProbe_Completed(bool answered) {
  statusEcho_.reset();
  // The answer for a text typed over since would colour the new text wrongly;
  // the next tick asks about the new one.
  if (statusEchoText_ == view_.服务器路径Text()) ShowReachability(answered);
}

void 同步软件::SyncProbe_Completed(bool answered) {
  const std::optional<SyncOutcome> notStarted =
      answered ? StartSyncCommand() : SyncOutcome{SyncEnd::NoAnswer};
  if (notStarted) {
    EndSyncAttempt(*notStarted);
    return;
  }
  // The caption for a started command waits until the command has ended.
  syncAttempt_ = SyncAttempt::Running;
  syncCommandStarted_ = system_.SteadyNow();
}

// Nothing once the command runs; else why it does not.
std::optional<SyncOutcome> 同步软件::StartSyncCommand() {
  switch (syncRoute_) {
    case SyncRoute::Direct:
      if (system_.StartSyncCommand(BuildSyncCommandLine(syncAddress_))) return std::nullopt;
      return SyncOutcome{SyncEnd::NotStarted};
    case SyncRoute::Elevated:
      switch (system_.StartSyncCommandElevated(SyncCommandArguments(syncAddress_))) {
        case ElevatedStart::Started: return std::nullopt;
        case ElevatedStart::Declined: return SyncOutcome{SyncEnd::Declined};
        case ElevatedStart::Failed: return SyncOutcome{SyncEnd::NotStarted};
      }
      break;
    case SyncRoute::NoRight: return SyncOutcome{SyncEnd::NoRight};
    case SyncRoute::NoRightButElevatable: return SyncOutcome{SyncEnd::NoRightButElevatable};
  }
  return SyncOutcome{SyncEnd::NotStarted};
}

void 同步软件::EndOverdueSyncAttempt() {
  if (syncAttempt_ == SyncAttempt::Probing && IsOverdue(syncEcho_)) {
    SyncProbe_Completed(false);
  } else if (syncAttempt_ == SyncAttempt::Running &&
             system_.SteadyNow() - syncCommandStarted_ >= kSyncCommandTimeLimit) {
    system_.EndSyncCommand();
    EndSyncAttempt({SyncEnd::TimedOut});
  }
}

void 同步软件::EndSyncAttempt(const SyncOutcome& outcome) {
  syncAttempt_ = SyncAttempt::None;
  const std::wstring now = system_.LongTimeNow();
  view_.Set网络时间Caption(OutcomeCaption(outcome, now));
  outcomeShown_ = true;
  syncReason_ = OutcomeReason(outcome, now);
  ShowStatusDetail();
}

// Why the last attempt ended as it did, and a settings file that could not
// be read or saved: one line each, under the status label and in the tray's
// tip below the program's name.
void 同步软件::ShowStatusDetail() {
  std::wstring tooltip, trayTip = kTrayTip;
  for (const std::wstring* line : {&syncReason_, &settingsNotice_}) {
    if (line->empty()) continue;
    tooltip += (tooltip.empty() ? L"" : L"\r\n") + *line;
    trayTip += L"\n" + *line;
  }
  view_.Set网络时间Tooltip(tooltip);
  system_.SetTrayTip(trayTip);
}

void 同步软件::ShowReachability(bool reachable) {
  if (reachable) {
    view_.Set服务器路径Colours(colours::kGreen, colours::kBlack);
    view_.Set网络时间Colour(colours::kGreen);
  } else {
    view_.Set服务器路径Colours(colours::kRed, colours::kWhite);
    view_.Set网络时间Colour(colours::kRed);
  }
}
