#include "settings/settings_keeper.h"

namespace 定义 {

SettingsKeeper::SettingsKeeper(IniFile& file, SettingsControls& controls,
                               开机运行::Registration& registration)
    : file_(file), controls_(controls), registration_(registration) {}

void SettingsKeeper::Load() { LoadKeeping({}); }

void SettingsKeeper::LoadKeeping(SettingsKeys edited) {
  const int autostartBefore = controls_.开机自动运行Value();
  const IniFileRead read = LoadSettings(file_, controls_, edited);
  if (read.state == IniFileState::Unreadable) {
    if (!unread_) beforeRead_ = StoredSettingsOf(controls_, false);
    unread_ = true;
    notice_ = NotReadNotice(read.whyUnreadable);
    return;
  }
  unread_ = false;
  stored_ = StoredSettingsOf(controls_, read.state == IniFileState::Read);
  // Not known to be in the file: the save below writes them.
  if (edited.address) stored_.address.inFile = false;
  if (edited.autostart) stored_.autostart.inFile = false;
  if (edited.interval) stored_.interval.inFile = false;
  FollowLoadedAutostart(autostartBefore);
  notice_.clear();
  if (edited.Any()) Save();
}

// The file decides whether the program starts with Windows: a registration
// left by a tick whose save failed would start it behind an unticked box.
void SettingsKeeper::FollowLoadedAutostart(int before) {
  const int loaded = controls_.开机自动运行Value();
  registration_.FollowLoad(loaded, loaded != before);
}

void SettingsKeeper::Retry() {
  if (unread_)
    LoadKeeping(ChangedSince(controls_, beforeRead_));
  else if (saveFailed_)
    Save();
}

void SettingsKeeper::Save() {
  if (unread_) return;
  const auto failure = SaveSettings(file_, controls_, stored_);
  saveFailed_ = failure.has_value();
  notice_ = failure ? NotSavedNotice(*failure) : L"";
}

void SettingsKeeper::SaveAutostart() {
  registration_.FollowClick(controls_.开机自动运行Value());
  Save();
}

void SettingsKeeper::SaveBeforeClosing() {
  if (saveFailed_ || HasUnsavedChange(controls_, stored_)) Save();
}

}  // namespace 定义
