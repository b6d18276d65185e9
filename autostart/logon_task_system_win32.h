#pragma once

#include <windows.h>

#include <string>

#include "autostart/registration.h"

// The logon task as the registration reaches it: the task is named after
// the program and the account of this process's token, and starts the
// running exe. Each change's end comes back to the window as a posted
// message.
class LogonTaskSystemWin32 final : public 开机运行::LogonTaskSystem {
 public:
  LogonTaskSystemWin32(HWND window, std::wstring exePath, std::wstring exeFolder);

  开机运行::TokenKind ReadTokenKind() override;
  开机运行::ExeForTask CheckExeForTask() override;
  开机运行::TaskPresence FindOwnTask() override;
  void StartTaskChange(std::uint32_t number, 开机运行::TaskStep step, bool throughConsent) override;
  std::optional<开机运行::TaskStep> TakeInterruptedChange() override;

 private:
  HWND window_;
  const std::wstring exePath_, exeFolder_;
};
