#include "autostart/exe_protection_win32.h"

开机运行::Permissions PermissionsToJudge(PSECURITY_DESCRIPTOR descriptor) {
  return PermissionsOf(descriptor);
}
