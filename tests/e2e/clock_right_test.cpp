// Without the right to change the system time. Wine gives every process the
// right; these tests start the product with a token that lacks it, made from
// the test's full token or from its filtered one.

#include "product.h"
#include "sync/sync_command.h"

namespace e2e {
namespace {

class ClockRightTest : public ProductTest {
 protected:
  void StartWithoutTheRight(bool filtered) {
    token_ = TokenWithoutClockRight(filtered);
    ASSERT_TRUE(token_);
    Start();
    WaitUntilShown();
    TypeAddress(L"127.0.0.1");
  }
};

TEST_F(ClockRightTest, WithNoWayToTheRightNothingStartsAndTheReasonSaysWhatToDo) {
  StartWithoutTheRight(false);
  Click(ControlOf(idCommand2));
  EXPECT_TRUE(WaitForText(id网络时间, kSyncFailedCaption));
  EXPECT_TRUE(IsReason(TooltipOf(id网络时间),
                       L"失败，本程序没有更改系统时间的权限。请管理员授予此权限（见用户指南）。"))
      << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
  EXPECT_TRUE(NetCalls().empty());
}

// Wine's consent prompt starts net.exe at once and without raising it.
TEST_F(ClockRightTest, AFilteredAdministratorsClickAsksWindowsAndTheScheduleNever) {
  StartWithoutTheRight(true);
  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 1);
  TickTimer2(60);
  EXPECT_TRUE(WaitForText(id网络时间, kSyncFailedCaption));
  EXPECT_TRUE(
      IsReason(TooltipOf(id网络时间),
               L"失败，本程序没有更改系统时间的权限。请点“立即同步”，在 Windows 询问时选“是”。"))
      << ToCodePage(TooltipOf(id网络时间), CP_UTF8);
  EXPECT_TRUE(NetCalls().empty());

  Click(ControlOf(idCommand2));
  EXPECT_TRUE(WaitFor([&] { return IsTimeCaption(TextOf(id网络时间), L"同步时间 "); }));
  const auto calls = NetCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(
      EqualsIgnoreCase(calls[0].cmd, L"\"" + systemNet_ + L"\" time \\\\127.0.0.1 /set /yes"))
      << ToCodePage(calls[0].cmd, CP_UTF8);
  EXPECT_TRUE(calls[0].useShow);
  EXPECT_EQ(calls[0].show, SW_HIDE);
}

}  // namespace
}  // namespace e2e
