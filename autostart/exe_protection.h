#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace 开机运行 {

// What the user's token without administrator rights, or anyone else but
// the administrators, is granted on a file or a folder.
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

// One entry of a file's or folder's permission list, as plain data.
struct AccessEntry {
  enum class Kind { Allow, Deny, Unknown };
  Kind kind;
  bool inheritOnly;  // for what is made inside later, not for this one
  std::wstring sid;  // "S-1-5-32-545"
  std::uint32_t mask;
};

struct Permissions {
  std::wstring owner;  // its SID; empty when it could not be read
  // Nothing for a missing list, which lets everyone do everything.
  std::optional<std::vector<AccessEntry>> entries;
};

// What the object is to the exe a task would start.
enum class Holder { Exe, ExeFolder, FolderAbove };

// What anyone but the administrators, SYSTEM and TrustedInstaller is granted
// by the list: every allow entry counts, inherited or not (CREATOR OWNER and
// OWNER RIGHTS, which stands for the owner, included), and no deny entry is
// trusted to take it back, since the same account may be let in by another
// group. An owner who is not one of those may change the permissions, and
// an entry of a kind not known here counts as granting everything.
ReplaceRights RightsOfOthers(const Permissions& permissions, Holder holder);

// The folders that hold folder, from its parent up to its drive's root.
std::vector<std::wstring> FoldersAbove(std::wstring folder);

}  // namespace 开机运行
