#pragma once

#include <optional>

namespace 开机运行 {

// What the user's token without administrator rights is granted on a file
// or a folder.
struct ReplaceRights {
  bool write = false;              // its data; for a folder, new files in it
  bool remove = false;             // delete or rename it; for a folder, the files in it
  bool changePermissions = false;  // its permissions or its owner, which give the rest
};

// A program started with full rights at every logon must be one that
// nothing running without those rights can swap: neither the exe nor its
// folder may grant any of them. What Windows could not tell counts as
// granted.
bool OnlyAdministratorsCanReplace(const std::optional<ReplaceRights>& exe,
                                  const std::optional<ReplaceRights>& folder);

}  // namespace 开机运行
