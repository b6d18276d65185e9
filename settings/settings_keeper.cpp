#include "settings/settings_keeper.h"

#include <utility>

namespace 定义 {

SettingsKeeper::SettingsKeeper(IniFile& file, SettingsControls& controls, 开机运行::RunKey& runKey,
                               std::wstring runValueData)
    : file_(file), controls_(controls), runKey_(runKey), runValueData_(std::move(runValueData)) {}

void SettingsKeeper::Load() {
  loading_ = true;
  const IniFileRead read = LoadSettings(file_, controls_);
  loading_ = false;
  unread_ = read.state == IniFileState::Unreadable;
  if (unread_) {
    notice_ = NotReadNotice(read.whyUnreadable);
    return;
  }
  stored_ = StoredSettingsOf(controls_, read.state == IniFileState::Read);
  // The file decides whether the program starts with Windows: a registration
  // left by a tick whose save failed would start it behind an unticked box.
  if (controls_.开机自动运行Value() != 1) 开机运行::RemoveOwnAutostart(runKey_, runValueData_);
  notice_.clear();
}

bool SettingsKeeper::Retry() {
  if (unread_) {
    Load();
    return !unread_;
  }
  if (saveFailed_) Save();
  return false;
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
