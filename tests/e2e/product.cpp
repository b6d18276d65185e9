#include "product.h"

#include <cwctype>

#include "autostart/task_change_mark_win32.h"
#include "settings_file.h"

namespace e2e {
namespace {

constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
constexpr UINT kChineseCodePage = 936;

}  // namespace

std::string Gbk(const std::wstring& text) { return ToCodePage(text, kChineseCodePage); }

bool IsTimeCaption(const std::wstring& caption, const std::wstring& prefix) {
  constexpr std::size_t kShortestTime = 5;  // no long-time format is shorter than "HH:MM"
  if (caption.rfind(prefix, 0) != 0 || caption.size() < prefix.size() + kShortestTime) return false;
  for (std::size_t i = prefix.size(); i < caption.size(); ++i)
    if (!std::iswdigit(caption[i]) && caption[i] != L':') return false;
  return true;
}

bool IsReason(const std::wstring& text, const std::wstring& explanation) {
  const std::size_t colon = text.find(L'：');
  return colon != std::wstring::npos && IsTimeCaption(text.substr(0, colon), L"上次同步 ") &&
         text.substr(colon + 1) == explanation;
}

std::string IniFileBytes(const std::wstring& address, int autostart, int interval) {
  std::wstring text = FromCodePage(kSettingsFileUtf8, CP_UTF8);
  const auto replace = [&text](const std::wstring& from, const std::wstring& to) {
    for (auto at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  };
  replace(L"<address>", address);
  replace(L"<autostart>", std::to_wstring(autostart));
  replace(L"<interval>", std::to_wstring(interval));
  replace(L"\n", L"\r\n");  // the profile functions end lines with CRLF
  return Gbk(text);
}

void ProductTest::SetUp() {
  dir_ = FreshWorkDirForCurrentTest();
  ASSERT_FALSE(dir_.empty());
  netLog_ = dir_ + L"\\net.log";
  schtasksLog_ = dir_ + L"\\schtasks.log";
  netHold_ = dir_ + L"\\net.hold";
  wchar_t systemDirectory[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryW(systemDirectory, MAX_PATH), 0u);
  // The test net.exe, put there once for the whole run by main.
  systemNet_ = std::wstring(systemDirectory) + L"\\net.exe";
  ASSERT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue));
  ASSERT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kRunValue));
  // A test's last copy may be closed while it changes the logon task, which
  // the next start would rightly tell of.
  task_change_mark::Clear();
}

void ProductTest::TearDown() {
  if (product_.Running()) product_.Terminate();
  DeleteFileW(netHold_.c_str());  // a hung test net.exe ends with it
}

void ProductTest::Start() { StartIn(dir_); }

void ProductTest::StartIn(const std::wstring& directory) {
  const std::wstring exe = CopyInto(BinFile(productFile_), directory);
  ASSERT_FALSE(exe.empty());
  StartInstalled(exe);
}

void ProductTest::StartInstalled(const std::wstring& exe) {
  exe_ = exe;
  product_ = Process::Launch(exe_, {.extraEnv = {{kFakeNetLogVar, netLog_},
                                                 {kFakeNetExitVar, netExitCode_},
                                                 {kFakeNetSleepVar, netSleepMilliseconds_},
                                                 {kFakeNetHoldVar, netHold_},
                                                 {kFakeNetOutputVar, netOutput_},
                                                 {kFakeNetFillerVar, netFillerBytes_},
                                                 {kFakeNetHeirVar, netHeirMilliseconds_},
                                                 {kFakeSchtasksLogVar, schtasksLog_}},
                                    .token = token_.Get()});
  ASSERT_TRUE(product_.Started()) << "CreateProcessW error " << product_.Error();
  window_ = WaitForTopWindow(product_.Id(), {.className = kWindowClass});
  ASSERT_NE(window_, nullptr);
}

HWND ProductTest::WaitUntilShown() {
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; }));
  return window_;
}

void ProductTest::CloseAndWait() {
  PostClose(window_);
  ASSERT_TRUE(product_.WaitForExit(kDefaultTimeoutMs));
}

HWND ProductTest::ControlOf(ControlId id) const { return GetDlgItem(window_, id); }

std::wstring ProductTest::TextOf(ControlId id) const { return WindowText(ControlOf(id)); }

bool ProductTest::WaitForText(ControlId id, const std::wstring& text) const {
  return WaitFor([&] { return TextOf(id) == text; });
}

void ProductTest::TypeAddress(const std::wstring& address) const {
  ASSERT_TRUE(SetText(ControlOf(id服务器路径), address));
}

void ProductTest::TickTimer2(int ticks) const {
  for (int i = 0; i < ticks; ++i) SendMessageW(window_, WM_TIMER, kTimer2Id, 0);
}

void ProductTest::WriteIni(const std::string& bytes) const {
  ASSERT_TRUE(WriteFileBytes(IniPath(), bytes));
}

}  // namespace e2e
