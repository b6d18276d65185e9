#pragma once
// What the installer writes for the program and what it removes of it,
// decided without the system: the values a silent install is given for the
// settings file beside the exe, and the logon tasks the program made.

#include <optional>
#include <string>

#include "settings/ini_file.h"

namespace installer {

// The values given to a silent install; an empty one was not given.
struct PresetValues {
  std::wstring address;
  std::wstring interval;
};

// Why the given values cannot become the program's settings, in the
// installer's words; nothing when they can. The address must be one the
// program probes, the interval one its scroll bar takes.
std::optional<std::wstring> PresetProblem(const PresetValues& values);

// Writes the given values into the settings file beside the exe, the
// administrator's preset, and leaves every other key as the file holds it.
// A preset made anew holds the window's initial values where none was given,
// as the program's own first save would. Nothing is written when nothing was
// given.
std::optional<定义::FileFailure> WritePreset(定义::IniFile& file, const PresetValues& values);

// True for the name of a logon task the program made, for any administrator.
bool IsProgramTaskName(const std::wstring& taskName);

}  // namespace installer
