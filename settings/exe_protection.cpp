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
