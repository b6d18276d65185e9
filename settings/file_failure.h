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

// What the user is told, in words, while the settings have not been read and
// after they could not be saved.
std::wstring NotReadNotice(const FileFailure& failure);
std::wstring NotSavedNotice(const FileFailure& failure);

}  // namespace 定义
