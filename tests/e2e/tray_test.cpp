// Hiding into the notification area and coming back, through the desktop's
// real taskbar.

#include "product.h"

#include <shellapi.h>

namespace e2e {
namespace {

constexpr UINT kIconId = 1;
constexpr int kShortWaitMs = 500;

class TrayTest : public ProductTest {
 protected:
  void HideWithTheButton() {
    Click(ControlOf(idCommand1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window_); }));
    ASSERT_TRUE(TrayIconExists(window_, kIconId));
  }

  static void PostMouse(HWND taskbar, UINT message, POINT at) {
    PostMessageW(taskbar, message, 0, MAKELPARAM(at.x, at.y));
  }

  // The taskbar draws its icons from its right end; the product's is the
  // only one. Double-clicks along that end until the window comes back.
  std::optional<POINT> DoubleClickTheIcon() const {
    const HWND taskbar = WaitForTaskbar();
    const RECT bar = ClientRect(taskbar);
    for (int x = bar.right - 2; x > bar.right - 80; x -= 4) {
      const POINT at{x, (bar.top + bar.bottom) / 2};
      PostMouse(taskbar, WM_LBUTTONDOWN, at);
      PostMouse(taskbar, WM_LBUTTONUP, at);
      PostMouse(taskbar, WM_LBUTTONDBLCLK, at);
      PostMouse(taskbar, WM_LBUTTONUP, at);
      if (WaitFor([&] { return IsWindowVisible(window_) != FALSE; }, kShortWaitMs)) return at;
    }
    return std::nullopt;
  }
};

TEST_F(TrayTest, HideThenDoubleClickTheIconBringsTheWindowBack) {
  Start();
  WaitUntilShown();
  HideWithTheButton();
  ASSERT_TRUE(DoubleClickTheIcon());
  EXPECT_TRUE(WaitFor([&] { return !TrayIconExists(window_, kIconId); })) << "icon left behind";

  // Hiding again adds a fresh icon with the same identifier.
  HideWithTheButton();
}

TEST_F(TrayTest, SingleClicksAndTheRightButtonDoNothing) {
  Start();
  WaitUntilShown();
  HideWithTheButton();
  const auto icon = DoubleClickTheIcon();
  ASSERT_TRUE(icon);
  HideWithTheButton();

  const HWND taskbar = WaitForTaskbar();
  for (const UINT message :
       {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
    PostMouse(taskbar, message, *icon);
  EXPECT_FALSE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; }, 2 * kShortWaitMs));
  EXPECT_TRUE(TrayIconExists(window_, kIconId));
}

// Explorer restarting takes the icons with it and announces its new taskbar;
// the hidden window must not become unreachable.
TEST_F(TrayTest, ANewTaskbarGetsTheIconBack) {
  Start();
  WaitUntilShown();
  HideWithTheButton();
  NOTIFYICONDATAW lost{};
  lost.cbSize = sizeof lost;
  lost.hWnd = window_;
  lost.uID = kIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));
  ASSERT_FALSE(TrayIconExists(window_, kIconId));

  SendMessageW(window_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconExists(window_, kIconId));
  EXPECT_FALSE(IsWindowVisible(window_));
}

}  // namespace
}  // namespace e2e
