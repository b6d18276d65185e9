// Start-up with and without settings, one instance only, saving on the way
// out, and the usage note.

#include <algorithm>

#include "product.h"
#include "support/token.h"
#include "ui/window_messages_win32.h"
#include "ui/window_win32.h"
#include "ui/captions.h"

namespace e2e {
namespace {

constexpr UINT kIconId = 1;

class LifecycleTest : public ProductTest {};

TEST_F(LifecycleTest, SecondStartEndsAtOnceAndWritesNothing) {
  Start();
  WaitUntilShown();
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  EXPECT_EQ(FindTopWindow(second.Id(), {.visibleOnly = true}), nullptr);
  EXPECT_TRUE(product_.Running());
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(FileExists(IniPath())) << "the second copy must not touch the settings";
}

// The user who starts the program again wants to see it, not a copy that
// quietly ends.
TEST_F(LifecycleTest, SecondStartBringsTheHiddenFirstBackToTheFront) {
  Start();
  WaitUntilShown();
  Click(ControlOf(idCommand1));
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  EXPECT_TRUE(
      WaitFor([&] { return IsWindowVisible(window_) && GetForegroundWindow() == window_; }));
  EXPECT_TRUE(WaitFor([&] { return !TrayIconExists(window_, kIconId); })) << "icon left behind";
}

// The copy a logon task starts holds the right to change the clock; one a
// Run value started before it may not, and gives way, its window kept as
// the user left it.
TEST_F(LifecycleTest, ACopyWithTheClockRightReplacesOneWithoutItKeepingItsWindow) {
  for (const bool hidden : {true, false}) {
    token_ = TokenWithoutClockRight(false);
    ASSERT_TRUE(token_);
    Start();
    WaitUntilShown();
    if (hidden) {
      Click(ControlOf(idCommand1));
      ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
    }
    Process second = Process::Launch(exe_, {});
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(product_.WaitForExit(kDefaultTimeoutMs)) << "the copy without the right stays";
    const HWND replacing = WaitForTopWindow(second.Id(), {.className = MainWindow::kWindowClass});
    ASSERT_NE(replacing, nullptr);
    if (hidden) {
      EXPECT_TRUE(WaitFor([&] { return TrayIconExists(replacing, kIconId); }));
    }
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(replacing) == !hidden; })) << hidden;
    EXPECT_FALSE(second.WaitForExit(500)) << "the copy with the right stays";
    PostMessageW(replacing, WM_CLOSE, 0, 0);
    ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  }
}

// A double start: each new copy must find the first, not the other new one,
// which is about to end as well and would take the request along.
TEST_F(LifecycleTest, TwoStartsAtOnceBringTheHiddenFirstBack) {
  Start();
  WaitUntilShown();
  Click(ControlOf(idCommand1));
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
  Process second = Process::Launch(exe_, {.suspended = true});
  Process third = Process::Launch(exe_, {.suspended = true});
  ASSERT_TRUE(second.Started() && third.Started());
  ASSERT_TRUE(second.Resume() && third.Resume());  // set going at one moment
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  ASSERT_TRUE(third.WaitForExit(kDefaultTimeoutMs));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; })) << "still hidden";
  EXPECT_TRUE(WaitFor([&] { return !TrayIconExists(window_, kIconId); })) << "icon left behind";
}

// A window of the test's own, of the program's class and with its mark, as
// another program may have one.
class ForeignMarkedWindow {
 public:
  ForeignMarkedWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = MainWindow::kWindowClass;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, MainWindow::kWindowClass, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_) SetPropW(window_, MainWindow::kFirstCopyMark, window_);
  }
  ~ForeignMarkedWindow() {
    if (!window_) return;
    RemovePropW(window_, MainWindow::kFirstCopyMark);
    DestroyWindow(window_);
  }
  ForeignMarkedWindow(const ForeignMarkedWindow&) = delete;
  ForeignMarkedWindow& operator=(const ForeignMarkedWindow&) = delete;

  HWND Get() const { return window_; }
  bool WasAskedToShow() const {
    MSG message;
    return PeekMessageW(&message, window_, kShowRequestMessage, kShowRequestMessage, PM_REMOVE) !=
           FALSE;
  }

 private:
  HWND window_ = nullptr;
};

// Made after the first copy's window, the foreign one is found first.
TEST_F(LifecycleTest, SecondStartShowsTheFirstCopyNotAForeignMarkedWindow) {
  Start();
  WaitUntilShown();
  Click(ControlOf(idCommand1));
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
  const ForeignMarkedWindow foreign;
  ASSERT_NE(foreign.Get(), nullptr);
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; })) << "still hidden";
  EXPECT_FALSE(foreign.WasAskedToShow());
}

TEST_F(LifecycleTest, SecondStartRestoresTheMinimisedFirst) {
  Start();
  WaitUntilShown();
  ShowWindow(window_, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(window_) != FALSE; }));
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window_) && !IsIconic(window_); }));
}

// An unelevated copy cannot open the mutex of an elevated one; Wine lets
// every copy open every mutex, so an event under the mutex's name, which
// fails CreateMutexW just as well, stands in for it.
TEST_F(LifecycleTest, StartWhereTheInstanceMutexCannotBeMadeEndsAtOnce) {
  const UniqueKernelHandle inTheWay(
      CreateEventW(nullptr, FALSE, FALSE, L"Local\\LanTimeSync.SingleInstance"));
  ASSERT_TRUE(inTheWay);

  exe_ = CopyInto(BinFile(L"LanTimeSync.exe"), dir_);
  Process second = Process::Launch(exe_, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kDefaultTimeoutMs));
  EXPECT_EQ(FindTopWindow(second.Id(), {.visibleOnly = true}), nullptr);
}

TEST_F(LifecycleTest, TickedBoxStartsStraightIntoTheTrayAndRegistersAgain) {
  WriteIni(IniFileBytes(L"127.0.0.1", 1, 30));
  Start();
  ASSERT_TRUE(WaitFor([&] { return TrayIconExists(window_, kIconId); }));
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), exe_);
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"127.0.0.1", 1, 30));
}

TEST_F(LifecycleTest, StoredIntervalTenShowsItsCaptions) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(10));
  EXPECT_EQ(TextOf(id网络时间), kWaitingCaption);
  EXPECT_EQ(TextOf(id服务器路径), L"127.0.0.1");
  EXPECT_EQ(SendMessageW(ControlOf(id滚动条), SBM_GETPOS, 0, 0), 10);
}

TEST_F(LifecycleTest, StoredIntervalZeroShowsItsCaptions) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 0));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(0));
  EXPECT_EQ(TextOf(id网络时间), kNoIntervalCaption);
}

TEST_F(LifecycleTest, NoFileShowsTheDesignValuesAndCreatesNone) {
  Start();
  WaitUntilShown();
  TickTimer2(3);
  EXPECT_EQ(TextOf(id服务器路径), L"192.168.1.1");
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(30));
  EXPECT_EQ(TextOf(id网络时间), L"网络时间");
  EXPECT_EQ(SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(FileExists(IniPath()));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
}

TEST_F(LifecycleTest, ScrollingToZeroRelabelsAndSaves) {
  Start();
  WaitUntilShown();
  const HWND bar = ControlOf(id滚动条);
  SendHScroll(bar, SB_THUMBTRACK, 1);
  SendHScroll(bar, SB_THUMBPOSITION, 1);
  SendHScroll(bar, SB_ENDSCROLL);
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(1));
  SendHScroll(bar, SB_LINELEFT);
  EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(0));
  EXPECT_EQ(TextOf(id网络时间), kNoIntervalCaption);
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"192.168.1.1", 0, 0));

  SendHScroll(bar, SB_LINELEFT);  // already at 0: no change, nothing written
  SendHScroll(bar, SB_PAGERIGHT);
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(1));
  EXPECT_EQ(TextOf(id网络时间), kWaitingCaption);
  SendHScroll(bar, SB_RIGHT);
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"192.168.1.1", 0, 100));
}

// The scroll bar's own messages during a drag: the caption follows the
// thumb, the settings file is written once, on release.
TEST_F(LifecycleTest, ADragOfTheThumbSavesOnceWhenReleased) {
  Start();
  WaitUntilShown();
  const HWND bar = ControlOf(id滚动条);
  for (int position = 29; position >= 5; --position) SendHScroll(bar, SB_THUMBTRACK, position);
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(5));
  EXPECT_FALSE(FileExists(IniPath())) << "written while dragging";
  SendHScroll(bar, SB_THUMBPOSITION, 5);
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"192.168.1.1", 0, 5));
  ASSERT_TRUE(DeleteFileW(IniPath().c_str()));
  SendHScroll(bar, SB_ENDSCROLL);
  EXPECT_FALSE(FileExists(IniPath())) << "written again after the release";
}

TEST_F(LifecycleTest, TypedAddressIsSavedByHide) {
  Start();
  WaitUntilShown();
  TypeAddress(L"10.20.30.40");
  Click(ControlOf(idCommand1));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window_); }));
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"10.20.30.40", 0, 30));
}

TEST_F(LifecycleTest, TypedAddressIsSavedWhenTheWindowIsClosed) {
  Start();
  WaitUntilShown();
  TypeAddress(L"10.20.30.41");
  CloseAndWait();
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"10.20.30.41", 0, 30));
}

TEST_F(LifecycleTest, TypedAddressIsSavedWhenTheSessionEnds) {
  Start();
  WaitUntilShown();
  TypeAddress(L"10.20.30.42");
  Click(ControlOf(idCommand1));
  TypeAddress(L"10.20.30.43");  // typed, then hidden: only the session's end saves it now
  ASSERT_TRUE(SendMessageW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  SendMessageW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(ReadFileBytes(IniPath()), IniFileBytes(L"10.20.30.43", 0, 30));
  EXPECT_FALSE(TrayIconExists(window_, kIconId)) << "no icon left behind";
}

TEST_F(LifecycleTest, ArrowKeysMoveTheScrollBar) {
  Start();
  WaitUntilShown();
  const HWND bar = ControlOf(id滚动条);
  PostMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);
  PostMessageW(bar, WM_KEYUP, VK_RIGHT, 0);
  EXPECT_TRUE(WaitForText(idLabel4, IntervalCaption(31)));
  PostMessageW(bar, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_TRUE(WaitForText(idLabel4, IntervalCaption(0)));
}

// The usage note, modal, with OK only; closed again.
void ExpectTheUsageNoteAndCloseIt(DWORD product) {
  const HWND note = WaitForTopWindow(product, {.className = L"#32770", .visibleOnly = true});
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(WindowText(note), L"局域网时间同步软件");
  EXPECT_EQ(WindowText(GetDlgItem(note, 0xFFFF)),
            L"【使用说明】\r\n\r\n本软件设置局域网内目标计算机IP地址，和校准时间间隔设定后，"
            L"本机即可与局域网的目标计算机同步时间。");
  const auto buttons = ChildControls(note);
  int buttonCount = 0;
  for (const Control& control : buttons)
    if (EqualsIgnoreCase(control.className, L"Button")) ++buttonCount;
  EXPECT_EQ(buttonCount, 1) << "OK only";
  PostMessageW(note, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(note); }));
}

TEST_F(LifecycleTest, ThePictureOpensTheUsageNote) {
  Start();
  WaitUntilShown();
  // The click on the picture, as the mouse would deliver it; posted, since
  // the note is modal.
  const HWND picture = ControlOf(idImage1);
  PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  ExpectTheUsageNoteAndCloseIt(product_.Id());
}

// F1 from the keyboard, on the control that has the focus: the system makes
// WM_HELP of it.
TEST_F(LifecycleTest, F1OpensTheUsageNote) {
  Start();
  WaitUntilShown();
  SetForegroundWindow(window_);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
  for (const ControlId focused : {id服务器路径, id滚动条}) {
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(window_) == ControlOf(focused); }));
    ASSERT_TRUE(PressKey(VK_F1));
    ExpectTheUsageNoteAndCloseIt(product_.Id());
    PostMessageW(ControlOf(focused), WM_KEYDOWN, VK_TAB, 1);
  }
}

// F1 in the note reaches the window too: it must not open note upon note.
// The notes are modal, so the window is usable again once Enter has closed
// the one in front only when it was the only one.
TEST_F(LifecycleTest, F1InTheUsageNoteLeavesOneNote) {
  Start();
  WaitUntilShown();
  SetForegroundWindow(window_);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
  ASSERT_TRUE(PressKey(VK_F1));
  const HWND note = WaitForTopWindow(product_.Id(), {.className = L"#32770", .visibleOnly = true});
  ASSERT_NE(note, nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == note; }));
  for (int press = 0; press < 3; ++press) ASSERT_TRUE(PressKey(VK_F1));
  ASSERT_TRUE(PressKey(VK_RETURN));
  std::size_t mostNotes = 0;
  const auto notesAreGone = [&] {
    const auto notes =
        TopWindowsOfProcess(product_.Id(), {.className = L"#32770", .visibleOnly = true});
    mostNotes = std::max(mostNotes, notes.size());
    return notes.empty() && IsWindowEnabled(window_);
  };
  EXPECT_TRUE(WaitFor(notesAreGone)) << "most notes at once: " << mostNotes;
  EXPECT_LE(mostNotes, 1u);
}

}  // namespace
}  // namespace e2e
