// Checks the end-to-end toolkit against programs every Wine prefix has, so a
// broken tool shows up as such and not as a product bug. Also guards the
// environment the scripts must provide (Chinese code page, the virtual
// desktop, the net.exe override), since every product test depends on it.

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "support/support.h"

namespace e2e {
namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

TEST(Environment, ChineseCodePage) { EXPECT_EQ(GetACP(), 936u); }

// Off the virtual desktop Wine still accepts tray icons (into a stand-in
// window), so the tray tests alone would not notice a run that is not on
// scripts/wine-desktop.sh's desktop.
TEST(Environment, OnVirtualDesktop) { EXPECT_NE(DesktopName(), L"Default"); }

// Notepad copied into a folder with a blank and Chinese characters in its
// name, as a product test would do with LanTimeSync.exe.
TEST(Smoke, NotepadWindowControlsAndPixels) {
  const std::wstring dir = FreshWorkDir(CurrentTestName() + L" 记事本");
  ASSERT_FALSE(dir.empty());
  wchar_t systemDirectory[MAX_PATH];
  GetSystemDirectoryW(systemDirectory, MAX_PATH);
  const std::wstring exe = CopyInto(std::wstring(systemDirectory) + L"\\notepad.exe", dir);
  ASSERT_FALSE(exe.empty());

  Process notepad = Process::Launch(exe, {.workingDir = dir});
  ASSERT_TRUE(notepad.Started()) << "CreateProcessW error " << notepad.Error();
  const HWND main = WaitForTopWindow(notepad.Id(), {.className = L"Notepad", .visibleOnly = true});
  ASSERT_NE(main, nullptr);
  EXPECT_NE(WindowText(main).find(L"记事本"), std::wstring::npos)
      << ToCodePage(WindowText(main), CP_UTF8);

  const auto edit = FindChildByClass(main, L"edit");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->className, L"Edit");
  EXPECT_TRUE(edit->Visible());
  ASSERT_TRUE(SetText(edit->hwnd, L"中文 text"));
  EXPECT_EQ(WindowText(edit->hwnd), L"中文 text");

  // The edit fills notepad's client area with its white background, and the
  // text on it is dark: proof that the pixels are notepad's, not just any.
  const auto image = CaptureClient(main);
  ASSERT_TRUE(image);
  const RECT client = ClientRect(main);
  EXPECT_EQ(image->Width(), client.right);
  EXPECT_EQ(image->Height(), client.bottom);
  const RECT& r = edit->rect;
  const int editArea = (r.right - r.left) * (r.bottom - r.top);
  EXPECT_GT(image->CountColor(kWhite, r), editArea * 9 / 10);
  EXPECT_GT(image->CountColor(kBlack, r, 96), 20);
  EXPECT_TRUE(image->SaveBmp(dir + L"\\client.bmp"));
  EXPECT_TRUE(FileExists(dir + L"\\client.bmp"));

  PostClose(main);
  EXPECT_TRUE(notepad.WaitForExit(kDefaultTimeoutMs));
}

// A click sent from this process must work like a user's: Wine's About
// dialog (winver) closes, and the program ends, on its OK button.
TEST(Smoke, ClickOnAboutDialogsOkButtonEndsWinver) {
  wchar_t systemDirectory[MAX_PATH];
  GetSystemDirectoryW(systemDirectory, MAX_PATH);
  Process winver = Process::Launch(std::wstring(systemDirectory) + L"\\winver.exe");
  ASSERT_TRUE(winver.Started());
  const HWND dialog = WaitForTopWindow(winver.Id(), {.className = L"#32770", .visibleOnly = true});
  ASSERT_NE(dialog, nullptr);
  const auto ok = FindChildById(dialog, IDOK);
  ASSERT_TRUE(ok);
  const auto byText = FindChildByText(dialog, ok->text, L"button");
  ASSERT_TRUE(byText);
  EXPECT_EQ(byText->hwnd, ok->hwnd);
  // In the dialog's client coordinates, not the screen's.
  const RECT client = ClientRect(dialog);
  EXPECT_GE(ok->rect.left, 0);
  EXPECT_LE(ok->rect.right, client.right);
  EXPECT_LE(ok->rect.bottom, client.bottom);
  Click(ok->hwnd);
  EXPECT_TRUE(winver.WaitForExit(kDefaultTimeoutMs));
}

TEST(Smoke, FakeNetRecordsHowItWasStarted) {
  const std::wstring dir = FreshWorkDirForCurrentTest();
  ASSERT_FALSE(dir.empty());
  const std::wstring log = dir + L"\\net.log";
  const std::wstring exe = BinFile(L"net.exe");

  Process net = Process::Launch(exe, {.arguments = L"time \\\\127.0.0.1 /set /yes",
                                      .extraEnv = {{kFakeNetLogVar, log}, {kFakeNetExitVar, L"3"}},
                                      .showWindow = SW_HIDE});
  ASSERT_TRUE(net.Started());
  ASSERT_TRUE(net.WaitForExit(kDefaultTimeoutMs));
  EXPECT_EQ(net.ExitCode(), 3u);

  const auto calls = ReadFakeNetLog(log);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(EqualsIgnoreCase(calls[0].exe, exe)) << ToCodePage(calls[0].exe, CP_UTF8);
  EXPECT_EQ(calls[0].cmd, net.CommandLine());
  EXPECT_TRUE(calls[0].useShow);
  EXPECT_EQ(calls[0].show, SW_HIDE);
}

// The product starts C:\windows\system32\net.exe; Wine runs its own built-in
// net.exe there unless the sandbox's DLL override is in effect.
TEST(Smoke, InstalledFakeNetReplacesWinesNetAndLogsBeforeItSleeps) {
  const std::wstring dir = FreshWorkDirForCurrentTest();
  ASSERT_FALSE(dir.empty());
  const std::wstring installed = InstallStandIn(L"net.exe");
  ASSERT_FALSE(installed.empty());
  const std::wstring log = dir + L"\\net.log";

  Process net = Process::Launch(
      installed,
      {.arguments = L"time", .extraEnv = {{kFakeNetLogVar, log}, {kFakeNetSleepVar, L"60000"}}});
  ASSERT_TRUE(net.Started());
  ASSERT_TRUE(WaitFor([&] { return ReadFakeNetLog(log).size() == 1; }));
  EXPECT_TRUE(net.Running());
  EXPECT_FALSE(ReadFakeNetLog(log)[0].useShow);
  net.Terminate(7);
  EXPECT_EQ(net.ExitCode(), 7u);
}

// Values of the product's kind (a path with Chinese characters), written
// here behind the toolkit's back.
TEST(Smoke, RegistryStringReadAndDelete) {
  const std::wstring key = L"Software\\LanTimeSync e2e";
  const std::wstring value = L"C:\\时间 同步\\LanTimeSync.exe";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Path", REG_SZ, value.c_str(),
                            (value.size() + 1) * sizeof(wchar_t)),
            ERROR_SUCCESS);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, L"Path"), value);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, L"Missing"), std::nullopt);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, key, L"Path"));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, L"Path"), std::nullopt);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, key, L"Path"));
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

// An icon of a window of this very process, against the real Wine tray.
TEST(Smoke, TrayIconExistsFollowsAddAndDelete) {
  const HWND owner =
      CreateWindowW(L"STATIC", L"tray owner", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = owner;
  icon.uID = 7;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy(icon.szTip, L"托盘");

  EXPECT_FALSE(TrayIconExists(owner, 7));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &icon));
  EXPECT_TRUE(TrayIconExists(owner, 7));
  // With an icon in it, the taskbar shows along the bottom of the screen.
  const HWND taskbar = WaitForTaskbar();
  RECT bar{};
  GetWindowRect(taskbar, &bar);
  EXPECT_TRUE(IsWindowVisible(taskbar));
  EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(TrayIconExists(owner, 8));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  EXPECT_FALSE(TrayIconExists(owner, 7));
  DestroyWindow(owner);
}

}  // namespace
}  // namespace e2e
