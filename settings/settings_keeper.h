#pragma once

#include <string>

#include "settings/ini_file.h"
#include "autostart/registration.h"
#include "settings/settings.h"

namespace 定义 {

// 配置.INI as the window sees it: loaded into the controls at start, and
// written with what the window changes, so that the file never loses what it
// holds. Its notice tells why the file could not be read or saved, and which
// file it was. It alone registers the program to start with Windows, as the
// file and the box say.
class SettingsKeeper {
 public:
  SettingsKeeper(const SettingsFiles& files, SettingsControls& controls,
                 开机运行::Registration& registration);

  // Puts the stored values into the controls, then renews or removes the
  // start-with-Windows registration as far as it can without a prompt;
  // writes nothing.
  void Load();
  // Once a second: a file that could not be read is read once it can be,
  // and a failed save is tried again. What the user changed in the window
  // meanwhile wins: those values are saved into the file, the others loaded
  // from it.
  void Retry();
  // After a change made in the window.
  void Save();
  // After the user changed the start-with-Windows box: the registration
  // follows it at once, even while the file cannot be read or written.
  void SaveAutostart();
  // Closing must not lose an address typed since the last save, nor a save
  // still failing, nor write over what was edited in the file meanwhile.
  void SaveBeforeClosing();
  const std::wstring& Notice() const { return notice_; }

 private:
  void LoadKeeping(SettingsKeys edited);
  void FollowLoadedAutostart(int before);
  std::wstring NotSaved(const FileFailure& failure) const;

  const SettingsFiles files_;
  SettingsControls& controls_;
  开机运行::Registration& registration_;

  // A settings file that is there but could not be read yet is never
  // written: that would overwrite the values it holds.
  bool unread_ = false;
  // The controls' values when the file could not be read: what differs from
  // them later was changed by the user.
  StoredSettings beforeRead_;
  // What the file holds, as far as the window knows: a save writes only
  // what differs from it.
  StoredSettings stored_;
  bool saveFailed_ = false;
  std::wstring notice_;
};

}  // namespace 定义
