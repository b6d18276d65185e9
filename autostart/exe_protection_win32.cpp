#include "autostart/exe_protection_win32.h"

#include <aclapi.h>
#include <sddl.h>

#include <optional>
#include <vector>

#include "win32/token.h"
#include "win32/unique_handle.h"

namespace {

using UniqueLocal = UniqueHandle<HLOCAL, &::LocalFree>;

// AccessCheck wants an impersonation token. An elevated program's filtered
// token is its linked one, which comes as such.
UniqueKernelHandle UnelevatedToken() {
  UniqueKernelHandle own;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, own.Put())) return {};
  if (ElevationTypeOf(own.Get()) == TokenElevationTypeFull) return LinkedTokenOf(own.Get());
  UniqueKernelHandle impersonation;
  if (!DuplicateToken(own.Get(), SecurityIdentification, impersonation.Put())) return {};
  return impersonation;
}

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!sid || !ConvertSidToStringSidW(sid, &text)) return L"";
  const UniqueLocal owned(text);
  return text;
}

开机运行::AccessEntry EntryOf(const ACE_HEADER* header) {
  using Kind = 开机运行::AccessEntry::Kind;
  const bool inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
  switch (header->AceType) {
    // These share one layout: the mask, then the SID.
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE: {
      const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
      const bool denies = header->AceType == ACCESS_DENIED_ACE_TYPE ||
                          header->AceType == ACCESS_DENIED_CALLBACK_ACE_TYPE;
      return {denies ? Kind::Deny : Kind::Allow, inheritOnly,
              SidText(const_cast<DWORD*>(&ace->SidStart)), ace->Mask};
    }
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: return {Kind::Deny, inheritOnly, L"", 0};
    default: return {Kind::Unknown, inheritOnly, L"", 0};
  }
}

std::optional<UniqueLocal> DescriptorOf(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(
          path.c_str(), SE_FILE_OBJECT,
          OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
          nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return std::nullopt;
  return UniqueLocal(descriptor);
}

std::optional<ACCESS_MASK> GrantedAccess(HANDLE token, PSECURITY_DESCRIPTOR descriptor) {
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privilegesSize = sizeof privileges;
  ACCESS_MASK granted = 0;
  BOOL allowed = FALSE;
  if (!AccessCheck(descriptor, token, MAXIMUM_ALLOWED, &mapping, &privileges, &privilegesSize,
                   &granted, &allowed))
    return std::nullopt;
  return allowed ? granted : 0;
}

开机运行::ReplaceRights Either(const 开机运行::ReplaceRights& a, const 开机运行::ReplaceRights& b) {
  return {.write = a.write || b.write,
          .remove = a.remove || b.remove,
          .changePermissions = a.changePermissions || b.changePermissions};
}

// Both what the user's own token may do, which the system decides, and what
// the list lets anyone else do.
std::optional<开机运行::ReplaceRights> RightsOn(HANDLE token, const std::wstring& path,
                                                开机运行::Holder holder) {
  const std::optional<UniqueLocal> descriptor = DescriptorOf(path);
  if (!descriptor) return std::nullopt;
  const std::optional<ACCESS_MASK> granted = GrantedAccess(token, descriptor->Get());
  if (!granted) return std::nullopt;
  const ACCESS_MASK write =
      holder == 开机运行::Holder::FolderAbove ? 0 : FILE_WRITE_DATA | FILE_APPEND_DATA;
  const ACCESS_MASK remove = holder == 开机运行::Holder::Exe ? DELETE : DELETE | FILE_DELETE_CHILD;
  const 开机运行::ReplaceRights own{
      .write = (*granted & write) != 0,
      .remove = (*granted & remove) != 0,
      .changePermissions = (*granted & (WRITE_DAC | WRITE_OWNER)) != 0};
  return Either(own, 开机运行::RightsOfOthers(PermissionsOf(descriptor->Get()), holder));
}

// Adding to a folder above is no threat (anyone may make folders in C:\);
// removing or renaming what is in it is.
std::vector<std::optional<开机运行::ReplaceRights>> RightsAbove(HANDLE token,
                                                                const std::wstring& folder) {
  std::vector<std::optional<开机运行::ReplaceRights>> above;
  for (const std::wstring& holder : 开机运行::FoldersAbove(folder))
    above.push_back(RightsOn(token, holder, 开机运行::Holder::FolderAbove));
  return above;
}

}  // namespace

bool ExeProtectedFromUser(const std::wstring& exePath, const std::wstring& folder) {
  const UniqueKernelHandle token = UnelevatedToken();
  if (!token) return false;
  return 开机运行::OnlyAdministratorsCanReplace(
      RightsOn(token.Get(), exePath, 开机运行::Holder::Exe),
      RightsOn(token.Get(), folder, 开机运行::Holder::ExeFolder), RightsAbove(token.Get(), folder));
}

开机运行::Permissions PermissionsOf(PSECURITY_DESCRIPTOR descriptor) {
  开机运行::Permissions permissions;
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted))
    permissions.owner = SidText(owner);
  BOOL present = FALSE;
  PACL list = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || !present || !list)
    return permissions;
  permissions.entries.emplace();
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(list, i, &ace)) {
      permissions.entries->push_back({开机运行::AccessEntry::Kind::Unknown, false, L"", 0});
      continue;
    }
    permissions.entries->push_back(EntryOf(static_cast<const ACE_HEADER*>(ace)));
  }
  return permissions;
}
