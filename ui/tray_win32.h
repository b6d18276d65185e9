#pragma once

#include <windows.h>

// The notification-area icon of the main window.
class TrayIconWin32 {
 public:
  TrayIconWin32(HWND window, HICON icon, UINT callbackMessage)
      : window_(window), icon_(icon), callbackMessage_(callbackMessage) {}

  // The shell's result is not acted on: a taskbar that is not there yet
  // announces itself later with "TaskbarCreated", and the icon is added then.
  void Add() const;
  void Remove() const;

 private:
  NOTIFYICONDATAW Record() const;

  HWND window_;
  HICON icon_;
  UINT callbackMessage_;
};
