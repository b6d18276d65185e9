#include "settings/exe_protection.h"

namespace 开机运行 {
namespace {

bool GrantsNone(const std::optional<ReplaceRights>& rights) {
  return rights && !rights->write && !rights->remove && !rights->changePermissions;
}

}  // namespace

bool OnlyAdministratorsCanReplace(const std::optional<ReplaceRights>& exe,
                                  const std::optional<ReplaceRights>& folder) {
  return GrantsNone(exe) && GrantsNone(folder);
}

}  // namespace 开机运行
