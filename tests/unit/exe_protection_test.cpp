#include "settings/exe_protection.h"

#include <gtest/gtest.h>

namespace {

using 开机运行::OnlyAdministratorsCanReplace;
using 开机运行::ReplaceRights;

ReplaceRights RightsOf(unsigned bits) {
  return {
      .write = (bits & 1) != 0, .remove = (bits & 2) != 0, .changePermissions = (bits & 4) != 0};
}

TEST(OnlyAdministratorsCanReplace, WhenNeitherTheExeNorItsFolderGrantsAnything) {
  EXPECT_TRUE(OnlyAdministratorsCanReplace(ReplaceRights{}, ReplaceRights{}));
}

// Every combination: a single right on either is enough to swap the exe.
TEST(OnlyAdministratorsCanReplace, NotWhenEitherGrantsAnyRight) {
  for (unsigned exe = 0; exe < 8; ++exe)
    for (unsigned folder = 0; folder < 8; ++folder)
      if (exe != 0 || folder != 0) {
        EXPECT_FALSE(OnlyAdministratorsCanReplace(RightsOf(exe), RightsOf(folder)))
            << "exe " << exe << ", folder " << folder;
      }
}

TEST(OnlyAdministratorsCanReplace, NotWhenWindowsCouldNotTell) {
  EXPECT_FALSE(OnlyAdministratorsCanReplace(std::nullopt, ReplaceRights{}));
  EXPECT_FALSE(OnlyAdministratorsCanReplace(ReplaceRights{}, std::nullopt));
}

}  // namespace
