#include "sync/sync_command.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildSyncCommandLine, CarriesTheAddressUnchanged) {
  EXPECT_EQ(BuildSyncCommandLine(L"192.168.1.1"), L"net time \\\\192.168.1.1 /set /yes");
  EXPECT_EQ(BuildSyncCommandLine(L""), L"net time \\\\ /set /yes");
  EXPECT_EQ(BuildSyncCommandLine(L" 10.0.0.1 "), L"net time \\\\ 10.0.0.1  /set /yes");
}

TEST(SyncCommandArguments, AreTheCommandLineWithoutTheProgram) {
  EXPECT_EQ(SyncCommandArguments(L"192.168.1.1"), L"time \\\\192.168.1.1 /set /yes");
}

}  // namespace
