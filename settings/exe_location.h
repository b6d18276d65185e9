#pragma once

#include <string>

// Where the running program lives, in the form the platform reports a
// directory: no closing backslash, except at the root of a drive ("C:\").
struct ExeLocation {
  std::wstring directory;
  std::wstring baseName;  // the file name without its extension
};

ExeLocation SplitExePath(const std::wstring& modulePath);
