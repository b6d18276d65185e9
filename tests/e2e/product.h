#pragma once
// Runs the real LanTimeSync.exe from a directory of the test's own, with the
// test net.exe in the system folder, and reads its window as a user sees it.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/support.h"
#include "ui/layout.h"

namespace e2e {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L" 开机同步程序";
inline constexpr wchar_t kIniName[] = L"配置.INI";
inline constexpr UINT kTimer2Id = 2;

// Text in the code page of a Chinese Windows, as the profile functions write it.
std::string Gbk(const std::wstring& text);
// The prefix followed by a time of day in the long-time format, "03:50:36".
bool IsTimeCaption(const std::wstring& caption, const std::wstring& prefix);
// The reason of the last attempt: "上次同步 ", the time of day, "：" and the
// explanation.
bool IsReason(const std::wstring& text, const std::wstring& explanation);
// The settings file exactly as a first save writes it.
std::string IniFileBytes(const std::wstring& address, int autostart, int interval);

class ProductTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies the product into dir_ (or `directory`) and starts it there.
  void Start();
  void StartIn(const std::wstring& directory);
  // Starts the product where it is, as installed.
  void StartInstalled(const std::wstring& exe);
  // The main window, once it is shown.
  HWND WaitUntilShown();
  // Closes with the close box and waits for the end.
  void CloseAndWait();

  HWND ControlOf(ControlId id) const;
  std::wstring TextOf(ControlId id) const;
  bool WaitForText(ControlId id, const std::wstring& text) const;
  std::wstring TooltipOf(ControlId id) const {
    return ToolTipText(product_.Handle(), product_.Id(), ControlOf(id));
  }
  void TypeAddress(const std::wstring& address) const;
  void TickTimer2(int ticks) const;

  std::wstring IniPath() const { return dir_ + L"\\" + kIniName; }
  void WriteIni(const std::string& bytes) const;
  std::vector<FakeNetCall> NetCalls() const { return ReadFakeNetLog(netLog_); }
  // The stand-in schtasks.exe's starts, in the same form.
  std::vector<FakeNetCall> SchtasksCalls() const { return ReadFakeNetLog(schtasksLog_); }
  std::optional<std::wstring> RunValue(HKEY root) const {
    return ReadRegString(root, kRunKey, kRunValue);
  }

  std::wstring dir_;
  // The build of the product that is started, from beside the tests.
  std::wstring productFile_ = L"LanTimeSync.exe";
  std::wstring exe_;
  std::wstring netLog_;
  std::wstring schtasksLog_;
  std::wstring netExitCode_ = L"0";
  std::wstring netSleepMilliseconds_ = L"0";
  std::wstring netHold_;  // the test net.exe hangs while this file exists
  std::wstring netOutput_;
  std::wstring netFillerBytes_ = L"0";       // written before netOutput_
  std::wstring netHeirMilliseconds_ = L"0";  // how long what it leaves holds its output
  std::wstring systemNet_;
  // Set: the product runs with this token instead of a copy of the test's.
  UniqueKernelHandle token_;
  Process product_;
  HWND window_ = nullptr;
};

}  // namespace e2e
