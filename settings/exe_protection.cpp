#include "settings/exe_protection.h"

#include <algorithm>

namespace 开机运行 {
namespace {

bool GrantsNone(const std::optional<ReplaceRights>& rights) {
  return rights && !rights->write && !rights->remove && !rights->changePermissions;
}

}  // namespace

bool OnlyAdministratorsCanReplace(const std::optional<ReplaceRights>& exe,
                                  const std::optional<ReplaceRights>& folder,
                                  const std::vector<std::optional<ReplaceRights>>& above) {
  return GrantsNone(exe) && GrantsNone(folder) &&
         std::all_of(above.begin(), above.end(), GrantsNone);
}

}  // namespace 开机运行
