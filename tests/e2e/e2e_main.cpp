// main of e2e_tests. Before the first test:
// - waits for the virtual desktop's taskbar: a product started earlier would
//   add its tray icon to nothing, and every tray test would fail for a reason
//   that has nothing to do with it;
// - puts the fake net.exe and the stand-in schtasks.exe into system32: a test
//   that forgot to would get Wine's own net.exe, which "succeeds" at every
//   command without doing any, or no schtasks.exe at all.

#include <gtest/gtest.h>

#include "support/support.h"

namespace {

class DesktopEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_NE(e2e::WaitForTaskbar(), nullptr)
        << "no taskbar: run the tests through scripts/wine-desktop.sh";
    for (const wchar_t* standIn : {L"net.exe", L"schtasks.exe"})
      ASSERT_FALSE(e2e::InstallStandIn(standIn).empty())
          << "cannot copy a stand-in into the system folder";
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new DesktopEnvironment);
  return RUN_ALL_TESTS();
}
