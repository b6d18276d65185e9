#include "settings/settings_keeper.h"

namespace 定义 {

SettingsKeeper::SettingsKeeper(const SettingsFiles& files, SettingsControls& controls,
                               开机运行::Registration& registration)
    : files_(files), controls_(controls), registration_(registration) {}

void SettingsKeeper::Load() { LoadKeeping({}); }

void SettingsKeeper::LoadKeeping(SettingsKeys edited) {
  const int autostartBefore = controls_.开机自动运行Value();
  const SettingsLoad read = LoadSettings(files_, controls_, edited);
  if (read.state == IniFileState::Unreadable) {
    if (!unread_) beforeRead_ = StoredSettingsOf(controls_, false);
    unread_ = true;
    notice_ = NotReadNotice(read.whyUnreadable, read.unreadable);
    return;
  }
  unread_ = false;
  // Over a preset, what the window shows of a key the user never changed is
  // what the preset (or nothing) stands for: writing it would pin it in the
  // user's file against the administrator's next preset.
  stored_ = StoredSettingsOf(controls_, read.state == IniFileState::Read || files_.preset);
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
  const auto failure = SaveSettings(files_.file, controls_, stored_);
  saveFailed_ = failure.has_value();
  notice_ = failure ? NotSaved(*failure) : L"";
}

// A press of the box that the file does not hold is undone at the next
// start, which loads the box from the file: that is what the user must hear.
std::wstring SettingsKeeper::NotSaved(const FileFailure& failure) const {
  const bool ticked = controls_.开机自动运行Value() == 1;
  const bool storedTicked = stored_.autostart.inFile && stored_.autostart.value == 1;
  if (ticked != storedTicked) return PressNotSavedNotice(failure, ticked, files_.Saved());
  return NotSavedNotice(failure, files_.Saved());
}

void SettingsKeeper::SaveAutostart() {
  registration_.FollowClick(controls_.开机自动运行Value());
  Save();
}

void SettingsKeeper::SaveBeforeClosing() {
  if (saveFailed_ || HasUnsavedChange(controls_, stored_)) Save();
}

}  // namespace 定义
