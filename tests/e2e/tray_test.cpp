// Hiding into the notification area and coming back, through the desktop's
// real taskbar.

#include "product.h"

#include <shellapi.h>

namespace e2e {
namespace {

constexpr UINT kIconId = 1;

class TrayTest : public ProductTest {
 protected:
  void HideWithTheButton() {
    Click(ControlOf(idCommand1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window_); }));
    ASSERT_TRUE(TrayIconExists(window_, kIconId));
  }

  // One mouse message as the taskbar gets it from the mouse. The taskbar
  // handles it before SendMessage returns, posting the icon's notification
  // to the product. Of two round trips through the product's queue, the
  // first is handled before that notification, the second after it.
  void MouseOnTheTaskbar(UINT message, POINT at) const {
    SendMessageW(WaitForTaskbar(), message, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(window_, WM_NULL, 0, 0);
    SendMessageW(window_, WM_NULL, 0, 0);
  }

  void DoubleClickAt(POINT at) const {
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
      MouseOnTheTaskbar(message, at);
  }

  // The taskbar draws its icons from its right end; the product's is the
  // only one. Double-clicks along that end until the window comes back.
  std::optional<POINT> DoubleClickTheIcon() const {
    const RECT bar = ClientRect(WaitForTaskbar());
    for (int x = bar.right - 2; x > bar.right - 80; x -= 4) {
      const POINT at{x, (bar.top + bar.bottom) / 2};
      DoubleClickAt(at);
      if (IsWindowVisible(window_)) return at;
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

  for (const UINT message :
       {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
    MouseOnTheTaskbar(message, *icon);
  EXPECT_FALSE(IsWindowVisible(window_));
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
