#include "sync/sync_command.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildSyncCommandLine, CarriesTheAddressUnchanged) {
  EXPECT_EQ(BuildSyncCommandLine(L"192.168.1.1"), L"net time \\\\192.168.1.1 /set /yes");
  EXPECT_EQ(BuildSyncCommandLine(L""), L"net time \\\\ /set /yes");
  EXPECT_EQ(BuildSyncCommandLine(L" 10.0.0.1 "), L"net time \\\\ 10.0.0.1  /set /yes");
}

TEST(SyncEndedCaption, OnlyExitCodeZeroReportsTheTime) {
  EXPECT_EQ(SyncEndedCaption(0, L"14:05:09"), L"同步时间 14:05:09");
  EXPECT_EQ(SyncEndedCaption(2, L"14:05:09"), L"钟联错误");
  EXPECT_EQ(SyncEndedCaption(0xC0000005u, L"14:05:09"), L"钟联错误");
}

}  // namespace
