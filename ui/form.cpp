#include "ui/form.h"

#include <algorithm>
#include <string_view>

#include "sync/scheduler.h"
#include "ui/captions.h"
#include "ui/colours.h"
#include "ui/layout.h"
#include "ui/tray_icon.h"

namespace {

// The user's own settings file lives in a folder of the program's name.
static_assert(std::wstring_view(kProgramName) == 定义::kUserSettingsFolder);

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

同步软件::同步软件(FormView& view, FormSystem& system, SyncSystem& sync,
                   ClockRightQuery& clockRight, 开机运行::LogonTaskSystem& logonTasks,
                   const 定义::SettingsFiles& settingsFiles, 开机运行::RunKey& runKey,
                   std::wstring runValueData)
    : view_(view),
      system_(system),
      clockRight_(clockRight),
      registration_(runKey, logonTasks, std::move(runValueData)),
      settings_(settingsFiles, *this, registration_),
      tray_(view, system),
      statusProbe_(sync),
      syncAttempt_(sync),
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
  view_.SetLabel4Caption(IntervalCaption(滚动条_));
  settings_.Load();
  ShowSettingsNotice();
  ShowRegistration();
  const std::optional<bool> shownBefore = system_.ShownByReplacedCopy();
  if (shownBefore ? !*shownBefore : 开机自动运行_ == 1)
    tray_.Hide();
  else
    view_.ShowForm();
}

void 同步软件::Form_Unload() {
  settings_.SaveBeforeClosing();
  ShowSettingsNotice();
  tray_.RemoveIcon();
}

void 同步软件::Command1_Click() {
  SaveChangedSettings();
  tray_.Hide();
}

void 同步软件::Command2_Click() { Synchronise(SyncTrigger::Click); }

// An attempt still waiting for its echo or its command is the one that
// counts; the count starts again all the same.
void 同步软件::Synchronise(SyncTrigger trigger) {
  SyncTickCount_ = 0;
  if (syncAttempt_.IsRunning()) return;
  const SyncRoute route = ChooseSyncRoute(ReadClockRight(), trigger);
  ShowIfEnded(syncAttempt_.Start(view_.服务器路径Text(), route));
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
  Load开机自动运行Value(开机自动运行_ == 1 ? 0 : 1);
  settings_.SaveAutostart();
  ShowSettingsNotice();
  ShowRegistration();
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

void 同步软件::ShowInterval() {
  outcomeShown_ = false;
  view_.SetLabel4Caption(IntervalCaption(滚动条_));
  view_.Set网络时间Caption(滚动条_ < 1 ? kNoIntervalCaption : kWaitingCaption);
}

void 同步软件::Image1_Click() {
  if (usageShown_) return;
  usageShown_ = true;
  system_.ShowUsage(kProgramName, kUsageText);
  usageShown_ = false;
}

void 同步软件::Timer1_Timer() {
  tray_.RetryIcon();
  view_.Set本机时间Caption(kLocalTimePrefix + system_.LongTimeNow());
  ShowReachability(statusProbe_.Tick(view_.服务器路径Text()));
}

void 同步软件::Timer2_Timer() {
  // A file read late never hides the window the user may be working in.
  settings_.Retry();
  ShowSettingsNotice();
  ShowIfEnded(syncAttempt_.SecondPassed());
  switch (AdvanceSyncSchedule(滚动条_, SyncTickCount_)) {
    case ScheduleTick::NoInterval:
      if (!outcomeShown_) view_.Set网络时间Caption(kNoIntervalCaption);
      break;
    case ScheduleTick::SyncDue: Synchronise(SyncTrigger::Schedule); break;
    case ScheduleTick::Counting: break;
  }
}

void 同步软件::TrayIcon_Notify(unsigned mouseMessage) {
  if (mouseMessage == kTrayLeftDoubleClick && tray_.IsHidden()) tray_.Restore();
}

void 同步软件::AnotherInstance_Started() {
  if (tray_.IsHidden())
    tray_.Restore();
  else
    view_.ShowForm();  // to the front
}

void 同步软件::TaskbarCreated() { tray_.TaskbarCreated(); }

void 同步软件::ProbeHost_Completed(EchoTicket echo, bool answered) {
  if (echo.prober == ProbeFor::Status)
    ShowReachability(statusProbe_.EchoEnded(echo, answered, view_.服务器路径Text()));
  else
    ShowIfEnded(syncAttempt_.EchoEnded(echo, answered));
}

void 同步软件::ConsentPrompt_Ended(std::uint32_t command, ElevatedStart start) {
  ShowIfEnded(syncAttempt_.ConsentEnded(command, start));
}

void 同步软件::SyncCommand_Ended(const CommandEnd& ended) {
  ShowIfEnded(syncAttempt_.CommandEnded(ended));
}

void 同步软件::SntpQuestion_Ended(std::uint32_t question, const sntp::Answer& answer) {
  ShowIfEnded(syncAttempt_.SntpEnded(question, answer));
}

void 同步软件::LogonTask_Changed(std::uint32_t number, 开机运行::TaskChangeEnd end) {
  registration_.TaskChangeEnded(number, end);
  ShowRegistration();
}

std::wstring 同步软件::服务器路径Text() const { return view_.服务器路径Text(); }

void 同步软件::Load服务器路径Text(const std::wstring& text) { view_.Set服务器路径Text(text); }

bool 同步软件::Load开机自动运行Value(int value) {
  if (value < 0 || value > 2) return false;
  if (value != 开机自动运行_) {
    开机自动运行_ = value;
    view_.Show开机自动运行(value);
  }
  return true;
}

bool 同步软件::Load滚动条Value(int value) {
  if (value < kScrollMinimum || value > kScrollMaximum) return false;
  if (value != 滚动条_) {
    滚动条_ = value;
    view_.Show滚动条(value);
    ShowInterval();
  }
  return true;
}

bool 同步软件::Set滚动条Value(int value) {
  const int before = 滚动条_;
  const bool taken = Load滚动条Value(value);
  if (滚动条_ != before) SaveChangedSettings();
  return taken;
}

void 同步软件::SaveChangedSettings() {
  settings_.Save();
  ShowSettingsNotice();
}

void 同步软件::ShowIfEnded(const std::optional<SyncOutcome>& outcome) {
  if (!outcome) return;
  const std::wstring now = system_.LongTimeNow();
  view_.Set网络时间Caption(OutcomeCaption(*outcome, now));
  outcomeShown_ = true;
  syncReason_ = OutcomeReason(*outcome, now);
  ShowStatusDetail();
}

// Told once: the same notice is not set again on every save or tick.
void 同步软件::ShowSettingsNotice() {
  if (settings_.Notice() == settingsNotice_) return;
  settingsNotice_ = settings_.Notice();
  ShowStatusDetail();
}

// The shield where a press would bring up the prompt, and why the box does
// not do what it says, told once.
void 同步软件::ShowRegistration() {
  view_.Set开机自动运行Shield(registration_.PressAsksConsent(开机自动运行_));
  if (registration_.Reason() == registrationReason_) return;
  registrationReason_ = registration_.Reason();
  ShowStatusDetail();
}

// Why the last attempt ended as it did, a settings file that could not be
// read or saved, and a start with Windows that is not what the box says:
// one line each, under the status label and in the tray's tip below the
// program's name.
void 同步软件::ShowStatusDetail() {
  std::wstring tooltip, trayTip = kTrayTip;
  for (const std::wstring* line : {&syncReason_, &settingsNotice_, &registrationReason_}) {
    if (line->empty()) continue;
    tooltip += (tooltip.empty() ? L"" : L"\r\n") + *line;
    trayTip += L"\n" + *line;
  }
  view_.Set网络时间Tooltip(tooltip);
  system_.SetTrayTip(trayTip);
}

void 同步软件::ShowReachability(const std::optional<bool>& reachable) {
  if (!reachable) return;
  if (*reachable) {
    view_.Set服务器路径Colours(colours::kGreen, colours::kBlack);
    view_.Set网络时间Colour(colours::kGreen);
  } else {
    view_.Set服务器路径Colours(colours::kRed, colours::kWhite);
    view_.Set网络时间Colour(colours::kRed);
  }
}
