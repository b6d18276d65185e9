#pragma once

#include <windows.h>

#include <string>

#include "settings/registration.h"

// The logon task as the registration reaches it: the task is named after
// the program and the account of this process's token, and starts the
// running exe. Each change's end comes back to the window as a posted
// message.
class LogonTaskSystemWin32 final : public 开机运行::LogonTaskSystem {
 public:
  LogonTaskSystemWin32(HWND window, std::wstring exePath, std::wstring exeFolder);

  开机运行::TokenKind ReadTokenKind() override;
  bool ExeProtected() override;
  void StartTaskChange(std::uint32_t number, 开机运行::TaskStep step, bool throughConsent) override;

 private:
  HWND window_;
  const std::wstring exePath_, exeFolder_;
};
