#pragma once

#include <cstdint>
#include <string>

namespace 定义 {

// Why the settings file could not be read or written.
enum class FileProblem {
  ReadOnly,
  AccessDenied,
  InUse,
  DiskFull,
  PathTooLong,
  HoldsNul,  // rewriting it would lose lines
  Other
};

struct FileFailure {
  FileProblem problem = FileProblem::Other;
  std::uint32_t systemError = 0;  // told to the user only when nothing plainer fits
};

// Which settings file a notice is about.
enum class SettingsFile {
  BesideExe,  // the one file, in the program's folder
  User,       // the user's own, where the program's folder is protected
  Preset,     // the administrator's, beside the exe, under the user's
};

// What the user is told, in words, while the settings have not been read and
// after they could not be saved.
std::wstring NotReadNotice(const FileFailure& failure, SettingsFile file = SettingsFile::BesideExe);
std::wstring NotSavedNotice(const FileFailure& failure,
                            SettingsFile file = SettingsFile::BesideExe);
// A press of the start-with-Windows box that could not be saved: the next
// start loads the box as the file holds it and undoes the registration.
// ticked: the press ticked the box.
std::wstring PressNotSavedNotice(const FileFailure& failure, bool ticked, SettingsFile file);

}  // namespace 定义
