// The permissions the protected-folder rule judges, in the end-to-end tests'
// build. Wine 8 keeps no security descriptor of a file: it makes one from the
// Unix owner and mode, with the owner as ANONYMOUS LOGON whenever the file
// belongs to another Unix user than the one Wine runs as, so that no file
// is ever the administrators' own. The tests protect a folder as an
// administrator would, by handing it to root (scripts/as-user.sh --protect),
// so here root's stand-in reads as the administrators, and everything else,
// the user's own SID and Everyone's entry from the mode among it, as it is.

#include <string>

#include "autostart/exe_protection_win32.h"

namespace {

constexpr wchar_t kAnonymousLogon[] = L"S-1-5-7";
constexpr wchar_t kAdministrators[] = L"S-1-5-32-544";

void RootAsAdministrators(std::wstring& sid) {
  if (sid == kAnonymousLogon) sid = kAdministrators;
}

}  // namespace

开机运行::Permissions PermissionsToJudge(PSECURITY_DESCRIPTOR descriptor) {
  开机运行::Permissions permissions = PermissionsOf(descriptor);
  RootAsAdministrators(permissions.owner);
  if (permissions.entries)
    for (开机运行::AccessEntry& entry : *permissions.entries) RootAsAdministrators(entry.sid);
  return permissions;
}
