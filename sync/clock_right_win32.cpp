#include "sync/clock_right_win32.h"

#include <windows.h>

#include <memory>

#include "win32/token.h"
#include "win32/unique_handle.h"

namespace {

// Present counts, enabled or not: PrivilegeCheck would see only enabled
// ones, and net.exe enables the right itself. A removed one is gone.
std::optional<bool> HoldsPrivilege(HANDLE token, const wchar_t* name) {
  LUID wanted;
  if (!LookupPrivilegeValueW(nullptr, name, &wanted)) return std::nullopt;
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  const auto buffer = std::make_unique<std::byte[]>(size);
  if (!GetTokenInformation(token, TokenPrivileges, buffer.get(), size, &size)) return std::nullopt;
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.get());
  const LUID_AND_ATTRIBUTES* entries = privileges->Privileges;
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    const LUID& luid = entries[i].Luid;
    if (luid.LowPart == wanted.LowPart && luid.HighPart == wanted.HighPart)
      return (entries[i].Attributes & SE_PRIVILEGE_REMOVED) == 0;
  }
  return false;
}

bool IsAdministrator(HANDLE token) {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  BOOL member = FALSE;
  return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) &&
         CheckTokenMembership(token, sid, &member) && member;
}

// A token that UAC filtered, whose full token belongs to an administrator:
// the consent prompt can hand that one out.
bool CanElevate(HANDLE token) {
  if (ElevationTypeOf(token) != TokenElevationTypeLimited) return false;
  const UniqueKernelHandle fullToken = LinkedTokenOf(token);
  return fullToken && IsAdministrator(fullToken.Get());
}

}  // namespace

std::optional<ClockRight> ProcessTokenClockRight::ReadClockRight() {
  UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return std::nullopt;
  const std::optional<bool> held = HoldsPrivilege(token.Get(), SE_SYSTEMTIME_NAME);
  if (!held) return std::nullopt;
  return ClockRight{.held = *held, .canElevate = !*held && CanElevate(token.Get())};
}

bool ProcessHoldsClockRight(HANDLE process) {
  UniqueKernelHandle token;
  if (!OpenProcessToken(process, TOKEN_QUERY, token.Put())) return false;
  return HoldsPrivilege(token.Get(), SE_SYSTEMTIME_NAME).value_or(false);
}
