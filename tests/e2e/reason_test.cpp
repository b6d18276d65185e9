// Why the last attempt ended as it did: in the status label's tooltip and,
// below the program's name, in the tray icon's tip.

#include <algorithm>

#include "product.h"
#include "ui/captions.h"

namespace e2e {
namespace {

struct Attempt {
  const wchar_t* address;
  const wchar_t* netExitCode;
  const wchar_t* netOutput;
  const wchar_t* explanation;
};

class ReasonTest : public ProductTest, public ::testing::WithParamInterface<Attempt> {};

TEST_P(ReasonTest, ShowsInTheTooltipAndTheTrayTip) {
  netExitCode_ = GetParam().netExitCode;
  netOutput_ = GetParam().netOutput;
  Start();
  WaitUntilShown();
  TypeAddress(GetParam().address);
  Click(ControlOf(idCommand2));
  std::wstring reason;
  ASSERT_TRUE(WaitFor([&] { return !(reason = TooltipOf(id网络时间)).empty(); }));
  EXPECT_TRUE(IsReason(reason, GetParam().explanation)) << ToCodePage(reason, CP_UTF8);

  Click(ControlOf(idCommand1));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window_); }));
  // Wine's taskbar keeps the icons of products that earlier tests ended
  // without closing, so there may be other tips; their times differ.
  const auto tips = TrayTips();
  EXPECT_NE(std::find(tips.begin(), tips.end(), std::wstring(kTrayTip) + L"\n" + reason),
            tips.end());
  CloseAndWait();
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, ReasonTest,
    ::testing::Values(Attempt{L"127.0.0.1", L"0", L"", L"成功，本机时间已按服务器校准。"},
                      Attempt{L"127.0.0.9", L"0", L"", L"失败，服务器没有应答，请检查地址和网络。"},
                      Attempt{L"127.0.0.1", L"2",
                              L"发生系统错误 1314。\r\n\r\n客户端没有所需的特权。\r\n\r\n",
                              L"失败，net time 失败（代码 2：客户端没有所需的特权。）；SNTP "
                              L"也失败（服务器没有应答）。"}));

}  // namespace
}  // namespace e2e
