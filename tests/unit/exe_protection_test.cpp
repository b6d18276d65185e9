#include "autostart/exe_protection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using 开机运行::FoldersAbove;
using 开机运行::OnlyAdministratorsCanReplace;
using 开机运行::ReplaceRights;

ReplaceRights RightsOf(unsigned bits) {
  return {
      .write = (bits & 1) != 0, .remove = (bits & 2) != 0, .changePermissions = (bits & 4) != 0};
}

TEST(OnlyAdministratorsCanReplace, WhenNeitherTheExeNorAnyFolderGrantsAnything) {
  EXPECT_TRUE(OnlyAdministratorsCanReplace(ReplaceRights{}, ReplaceRights{}, {}));
  EXPECT_TRUE(OnlyAdministratorsCanReplace(ReplaceRights{}, ReplaceRights{},
                                           {ReplaceRights{}, ReplaceRights{}}));
}

// Every combination: a single right on either is enough to swap the exe.
TEST(OnlyAdministratorsCanReplace, NotWhenEitherGrantsAnyRight) {
  for (unsigned exe = 0; exe < 8; ++exe)
    for (unsigned folder = 0; folder < 8; ++folder)
      if (exe != 0 || folder != 0) {
        EXPECT_FALSE(OnlyAdministratorsCanReplace(RightsOf(exe), RightsOf(folder), {}))
            << "exe " << exe << ", folder " << folder;
      }
}

// A folder above whose contents the user may rename: the exe's folder can
// be moved aside and made anew with another exe in it.
TEST(OnlyAdministratorsCanReplace, NotWhenAnyFolderAboveGrantsAnyRight) {
  for (unsigned rights = 1; rights < 8; ++rights)
    for (std::size_t at = 0; at < 3; ++at) {
      std::vector<std::optional<ReplaceRights>> above(3, ReplaceRights{});
      above[at] = RightsOf(rights);
      EXPECT_FALSE(OnlyAdministratorsCanReplace(ReplaceRights{}, ReplaceRights{}, above))
          << "rights " << rights << " at " << at;
    }
}

TEST(OnlyAdministratorsCanReplace, NotWhenWindowsCouldNotTell) {
  EXPECT_FALSE(OnlyAdministratorsCanReplace(std::nullopt, ReplaceRights{}, {}));
  EXPECT_FALSE(OnlyAdministratorsCanReplace(ReplaceRights{}, std::nullopt, {}));
  EXPECT_FALSE(OnlyAdministratorsCanReplace(ReplaceRights{}, ReplaceRights{}, {std::nullopt}));
}

// What the system could not tell counts as granted.
TEST(RightsOfOthers, AnEntryOfAKindNotKnownHereGrantsEverything) {
  using Kind = 开机运行::AccessEntry::Kind;
  const std::wstring administrators = L"S-1-5-32-544";
  开机运行::Permissions permissions{administrators,
                                    std::vector<开机运行::AccessEntry>{
                                        {Kind::Allow, false, administrators, 0x1F01FF},
                                    }};
  const ReplaceRights none = 开机运行::RightsOfOthers(permissions, 开机运行::Holder::Exe);
  EXPECT_FALSE(none.write || none.remove || none.changePermissions);
  permissions.entries->push_back({Kind::Unknown, false, L"", 0});
  const ReplaceRights all = 开机运行::RightsOfOthers(permissions, 开机运行::Holder::Exe);
  EXPECT_TRUE(all.write && all.remove && all.changePermissions);
  permissions.owner.clear();
  permissions.entries->pop_back();
  EXPECT_TRUE(开机运行::RightsOfOthers(permissions, 开机运行::Holder::Exe).changePermissions)
      << "an owner that could not be read";
}

TEST(FoldersAbove, RunFromTheParentUpToTheDrivesRoot) {
  using Folders = std::vector<std::wstring>;
  EXPECT_EQ(FoldersAbove(L"C:\\Program Files\\局域网"), (Folders{L"C:\\Program Files", L"C:\\"}));
  EXPECT_EQ(FoldersAbove(L"D:\\工具\\"), (Folders{L"D:\\"}));
  EXPECT_EQ(FoldersAbove(L"C:\\"), Folders{});
}

}  // namespace
