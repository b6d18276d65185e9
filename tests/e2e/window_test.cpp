// The main window as it stands: frame, controls, focus, and its pixels.

#include "product.h"
#include "ui/captions.h"

namespace e2e {
namespace {

struct ExpectedControl {
  ControlId id;
  const wchar_t* className;
  std::wstring text;
  RECT rect;  // pixels at 96 DPI, client coordinates
};

// The design values: every twip position divided by 15.
const ExpectedControl kExpected[] = {
    {id网络时间, L"Static", L"网络时间", {8, 56, 409, 105}},
    {idLabel1, L"Static", L"输入时间服务器地址", {8, 120, 361, 137}},
    {idImage1, L"Static", L"", {368, 120, 416, 165}},
    {id服务器路径, L"Edit", L"192.168.1.1", {24, 144, 225, 162}},
    {idLabel3, L"Static", L"服务器IP地址", {256, 150, 361, 167}},
    {idLabel2, L"Static", L"设定校时时间隔(单位为分钟)", {8, 176, 273, 193}},
    {id滚动条, L"ScrollBar", L"设定校时时间隔(单位为分钟)", {8, 200, 241, 217}},
    {idLabel4, L"Static", IntervalCaption(30), {256, 200, 409, 217}},
    {id开机自动运行, L"Button", L"开机自动运行", {8, 232, 128, 273}},
    {idCommand2, L"Button", L"立即同步", {152, 232, 272, 273}},
    {idCommand1, L"Button", L"隐  藏", {288, 232, 408, 273}},
};

const Rgb kBand{0x40, 0x40, 0x40};
const Rgb kGreen{0, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof text, "{%ld,%ld,%ld,%ld}", r.left, r.top, r.right, r.bottom);
  return text;
}

int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

RECT Inset(RECT r, int by) {
  InflateRect(&r, -by, -by);
  return r;
}

// The picture is drawn a moment after the window, so it is waited for.
// Stretched to 48 x 45, it covers its control.
bool WaitForThePicture(HWND window) {
  const RECT picture{368, 120, 416, 165};
  return WaitFor([&] {
    const auto image = CaptureClient(window);
    return image &&
           image->CountColor(ToRgb(GetSysColor(COLOR_3DFACE)), picture) < Area(picture) / 4;
  });
}

class WindowTest : public ProductTest {};

TEST_F(WindowTest, FrameIsTheDesignedSizeWithOnlyACloseBox) {
  Start();
  WaitUntilShown();
  const std::wstring caption = WindowText(window_);
  EXPECT_EQ(caption.rfind(L"局域网时间同步软件(", 0), 0u) << ToCodePage(caption, CP_UTF8);
  EXPECT_EQ(caption.back(), L')');

  const RECT client = ClientRect(window_);
  EXPECT_EQ(client.right, 419);
  EXPECT_EQ(client.bottom, 278);
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  // Centred on the 800 x 600 desktop (less its taskbar).
  RECT frame;
  GetWindowRect(window_, &frame);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 2);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 2);
}

TEST_F(WindowTest, EveryControlHasItsClassTextAndRectangle) {
  Start();
  WaitUntilShown();
  for (const ExpectedControl& expected : kExpected) {
    const auto control = FindChildById(window_, expected.id);
    ASSERT_TRUE(control) << "control " << expected.id;
    EXPECT_TRUE(EqualsIgnoreCase(control->className, expected.className))
        << ToCodePage(expected.text, CP_UTF8) << ": " << ToCodePage(control->className, CP_UTF8);
    EXPECT_EQ(control->text, expected.text) << ToCodePage(control->text, CP_UTF8);
    EXPECT_TRUE(SameRect(control->rect, expected.rect))
        << ToCodePage(expected.text, CP_UTF8) << " at " << Describe(control->rect);
  }
  // The local clock's caption gains the time with the first tick.
  const auto clock = FindChildById(window_, id本机时间);
  ASSERT_TRUE(clock);
  EXPECT_EQ(clock->text.rfind(L"本机时间", 0), 0u);
  EXPECT_TRUE(SameRect(clock->rect, RECT{8, 8, 409, 57})) << Describe(clock->rect);

  EXPECT_TRUE(GetWindowLongW(ControlOf(id开机自动运行), GWL_STYLE) & BS_PUSHLIKE);
  EXPECT_EQ(SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(ControlOf(id滚动条), SBM_GETPOS, 0, 0), 30);
}

// Tab, as the keyboard delivers it to the control that has the focus.
TEST_F(WindowTest, FocusStartsInTheAddressAndTabMovesInTheOrderControlsAreSeen) {
  Start();
  WaitUntilShown();
  ASSERT_TRUE(WaitFor([&] { return FocusedControl(window_) == ControlOf(id服务器路径); }));
  for (const ControlId next : {id滚动条, id开机自动运行, idCommand2, idCommand1, id服务器路径}) {
    const HWND focus = FocusedControl(window_);
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
    EXPECT_TRUE(WaitFor([&] { return FocusedControl(window_) == ControlOf(next); }))
        << "Tab to control " << next;
  }
}

// The order of the child windows is the order Tab follows, and a screen
// reader names an edit after the label just before it.
TEST_F(WindowTest, ControlsStandInTheOrderTheyAreSeenEachLabelJustBeforeItsControl) {
  Start();
  WaitUntilShown();
  std::vector<int> order;
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    order.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(order, (std::vector<int>{id本机时间, id网络时间, idImage1, idLabel1, id服务器路径,
                                     idLabel3, idLabel2, id滚动条, idLabel4, id开机自动运行,
                                     idCommand2, idCommand1}));
}

TEST_F(WindowTest, TheAddressBoxAndTheScrollBarCarryTheNamesOfTheirLabels) {
  Start();
  WaitUntilShown();
  EXPECT_EQ(AccessibleName(ControlOf(id服务器路径)), L"输入时间服务器地址");
  EXPECT_EQ(AccessibleName(ControlOf(id滚动条)), L"设定校时时间隔(单位为分钟)");
}

// Against the silent default server: the band with both captions, the address
// box red with white text.
TEST_F(WindowTest, ScreenshotShowsTheBandCaptionsAndTheUnreachableAddress) {
  Start();
  WaitUntilShown();
  ASSERT_TRUE(WaitFor([&] { return TextOf(id本机时间) != L"本机时间"; }));
  const auto image = CaptureClient(window_);
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->SaveBmp(BinDir() + L"\\..\\window.bmp"));

  const RECT band{0, 0, 419, 113};
  EXPECT_GT(image->CountColor(kBand, band), Area(band) / 2);
  EXPECT_EQ(image->At(200, 0), kBlack) << "the band's border";
  EXPECT_GT(image->CountColor(kGreen, RECT{8, 8, 409, 57}), 300) << "本机时间 in green";
  EXPECT_GT(image->CountColor(kRed, RECT{8, 56, 409, 105}), 300) << "网络时间 in red";

  const RECT address = Inset(RECT{24, 144, 225, 162}, 2);
  EXPECT_GT(image->CountColor(kRed, address), Area(address) / 2);
  EXPECT_GT(image->CountColor(kWhite, address, 60), 20) << "white text";
  EXPECT_TRUE(WaitForThePicture(window_));
}

// A copy started into the tray has drawn nothing yet; shown, it draws all.
TEST_F(WindowTest, AWindowStartedHiddenShowsItsPictureWhenShown) {
  WriteIni(IniFileBytes(L"127.0.0.1", 1, 30));
  Start();
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, 1); }));
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; }));
  EXPECT_TRUE(WaitForThePicture(window_));
}

}  // namespace
}  // namespace e2e
