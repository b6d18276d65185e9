#include "autostart/exe_protection.h"

#include <algorithm>

namespace 开机运行 {
namespace {

bool GrantsNone(const std::optional<ReplaceRights>& rights) {
  return rights && !rights->write && !rights->remove && !rights->changePermissions;
}

// The access bits, as Windows defines them for files and folders.
constexpr std::uint32_t kWriteData = 0x2;   // a folder: add a file
constexpr std::uint32_t kAppendData = 0x4;  // a folder: add a folder
constexpr std::uint32_t kDeleteChild = 0x40;
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kWriteDac = 0x40000;
constexpr std::uint32_t kWriteOwner = 0x80000;
constexpr std::uint32_t kMaximumAllowed = 0x2000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kEverything = 0xFFFFFFFF;

constexpr wchar_t kAdministrators[] = L"S-1-5-32-544";
constexpr wchar_t kSystem[] = L"S-1-5-18";
constexpr wchar_t kTrustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr wchar_t kOwnerRights[] = L"S-1-3-4";

bool IsTrusted(const std::wstring& sid) {
  return sid == kAdministrators || sid == kSystem || sid == kTrustedInstaller;
}

std::uint32_t SpecificRights(std::uint32_t mask) {
  if (mask & (kGenericAll | kMaximumAllowed)) return kEverything;
  if (mask & kGenericWrite) mask |= kWriteData | kAppendData;
  return mask;
}

ReplaceRights RightsIn(std::uint32_t mask, Holder holder) {
  const std::uint32_t remove = holder == Holder::Exe ? kDelete : kDelete | kDeleteChild;
  const std::uint32_t write = holder == Holder::FolderAbove ? 0 : kWriteData | kAppendData;
  return {.write = (mask & write) != 0,
          .remove = (mask & remove) != 0,
          .changePermissions = (mask & (kWriteDac | kWriteOwner)) != 0};
}

std::uint32_t MaskGrantedToOthers(const Permissions& permissions) {
  if (!permissions.entries) return kEverything;
  std::uint32_t granted = IsTrusted(permissions.owner) ? 0 : kWriteDac | kWriteOwner;
  for (const AccessEntry& entry : *permissions.entries) {
    if (entry.inheritOnly || entry.kind == AccessEntry::Kind::Deny) continue;
    if (entry.kind == AccessEntry::Kind::Unknown) return kEverything;
    const std::wstring& who = entry.sid == kOwnerRights ? permissions.owner : entry.sid;
    if (!IsTrusted(who)) granted |= SpecificRights(entry.mask);
  }
  return granted;
}

}  // namespace

ReplaceRights RightsOfOthers(const Permissions& permissions, Holder holder) {
  return RightsIn(MaskGrantedToOthers(permissions), holder);
}

bool OnlyAdministratorsCanReplace(const std::optional<ReplaceRights>& exe,
                                  const std::optional<ReplaceRights>& folder,
                                  const std::vector<std::optional<ReplaceRights>>& above) {
  return GrantsNone(exe) && GrantsNone(folder) &&
         std::all_of(above.begin(), above.end(), GrantsNone);
}

std::vector<std::wstring> FoldersAbove(std::wstring folder) {
  std::vector<std::wstring> above;
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  for (std::size_t cut; (cut = folder.find_last_of(L"\\/")) != std::wstring::npos;) {
    folder.resize(cut);
    // "C:" alone names the current folder on drive C, not its root.
    above.push_back(folder.size() == 2 && folder[1] == L':' ? folder + L'\\' : folder);
  }
  return above;
}

}  // namespace 开机运行
