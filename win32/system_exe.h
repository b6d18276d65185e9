#pragma once

#include <optional>
#include <string>

// A program of the system's own folder, by its full path, so that no
// program of that name beside this one or in the working directory runs
// instead; empty when the system folder cannot be told.
struct SystemExe {
  std::wstring application, directory;
};
std::optional<SystemExe> SystemExeNamed(const wchar_t* fileName);
