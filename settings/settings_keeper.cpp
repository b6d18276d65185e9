#include "settings/settings_keeper.h"

#include <utility>

namespace 定义 {

SettingsKeeper::SettingsKeeper(IniFile& file, SettingsControls& controls, 开机运行::RunKey& runKey,
                               std::wstring runValueData)
    : file_(file), controls_(controls), runKey_(runKey), runValueData_(std::move(runValueData)) {}

void SettingsKeeper::Load() { LoadKeeping({}); }

void SettingsKeeper::LoadKeeping(SettingsKeys edited) {
  loading_ = true;
  const IniFileRead read = LoadSettings(file_, controls_, edited);
  loading_ = false;
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
  // The file decides whether the program starts with Windows: a registration
  // left by a tick whose save failed would start it behind an unticked box.
  if (controls_.开机自动运行Value() != 1) 开机运行::RemoveOwnAutostart(runKey_, runValueData_);
  notice_.clear();
  if (edited.Any()) Save();
}

void SettingsKeeper::Retry() {
  if (unread_)
    LoadKeeping(ChangedSince(controls_, beforeRead_));
  else if (saveFailed_)
    Save();
}

void SettingsKeeper::Save() {
  // While loading, the controls take the stored values: there is nothing new
  // to write, and a refused stored value must not be overwritten.
  if (loading_ || unread_) return;
  const auto failure = SaveSettings(file_, controls_, stored_);
  saveFailed_ = failure.has_value();
  notice_ = failure ? NotSavedNotice(*failure) : L"";
}

void SettingsKeeper::SaveBeforeClosing() {
  if (saveFailed_ || HasUnsavedChange(controls_, stored_)) Save();
}

}  // namespace 定义
