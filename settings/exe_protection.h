#pragma once

#include <optional>
#include <string>
#include <vector>

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
// folder may grant any of them, and no folder above may let one below it be
// removed or renamed (then made anew with another exe in it) or have its
// permissions changed. What Windows could not tell counts as granted.
bool OnlyAdministratorsCanReplace(const std::optional<ReplaceRights>& exe,
                                  const std::optional<ReplaceRights>& folder,
                                  const std::vector<std::optional<ReplaceRights>>& above);

// The folders that hold folder, from its parent up to its drive's root.
std::vector<std::wstring> FoldersAbove(std::wstring folder);

}  // namespace 开机运行
