#include "settings/exe_protection_win32.h"

#include <windows.h>
#include <aclapi.h>

#include <optional>
#include <vector>

#include "settings/exe_protection.h"
#include "win32/unique_handle.h"

namespace {

using UniqueLocal = UniqueHandle<HLOCAL, &::LocalFree>;

// AccessCheck wants an impersonation token. An elevated program's filtered
// token is its linked one, which comes as such.
UniqueKernelHandle UnelevatedToken() {
  UniqueKernelHandle own;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, own.Put())) return {};
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (GetTokenInformation(own.Get(), TokenElevationType, &type, sizeof type, &size) &&
      type == TokenElevationTypeFull) {
    TOKEN_LINKED_TOKEN linked{};
    if (!GetTokenInformation(own.Get(), TokenLinkedToken, &linked, sizeof linked, &size)) return {};
    return UniqueKernelHandle(linked.LinkedToken);
  }
  UniqueKernelHandle impersonation;
  if (!DuplicateToken(own.Get(), SecurityIdentification, impersonation.Put())) return {};
  return impersonation;
}

std::optional<ACCESS_MASK> GrantedAccess(HANDLE token, const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(
          path.c_str(), SE_FILE_OBJECT,
          OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
          nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return std::nullopt;
  const UniqueLocal owned(descriptor);
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

std::optional<开机运行::ReplaceRights> RightsOn(HANDLE token, const std::wstring& path,
                                                ACCESS_MASK write, ACCESS_MASK remove) {
  const std::optional<ACCESS_MASK> granted = GrantedAccess(token, path);
  if (!granted) return std::nullopt;
  return 开机运行::ReplaceRights{.write = (*granted & write) != 0,
                                 .remove = (*granted & remove) != 0,
                                 .changePermissions = (*granted & (WRITE_DAC | WRITE_OWNER)) != 0};
}

// Adding to a folder above is no threat (anyone may make folders in C:\);
// removing or renaming what is in it is.
std::vector<std::optional<开机运行::ReplaceRights>> RightsAbove(HANDLE token,
                                                                const std::wstring& folder) {
  std::vector<std::optional<开机运行::ReplaceRights>> above;
  for (const std::wstring& holder : 开机运行::FoldersAbove(folder))
    above.push_back(RightsOn(token, holder, 0, DELETE | FILE_DELETE_CHILD));
  return above;
}

}  // namespace

bool ExeProtectedFromUser(const std::wstring& exePath, const std::wstring& folder) {
  const UniqueKernelHandle token = UnelevatedToken();
  if (!token) return false;
  return 开机运行::OnlyAdministratorsCanReplace(
      RightsOn(token.Get(), exePath, FILE_WRITE_DATA | FILE_APPEND_DATA, DELETE),
      RightsOn(token.Get(), folder, FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY,
               DELETE | FILE_DELETE_CHILD),
      RightsAbove(token.Get(), folder));
}
