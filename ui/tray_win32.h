#pragma once

#include <windows.h>

// The notification-area icon of the main window.
class TrayIconWin32 {
 public:
  // The icon is the window's small icon of the moment, which follows the DPI.
  TrayIconWin32(HWND window, UINT callbackMessage)
      : window_(window), callbackMessage_(callbackMessage) {}

  // The shell's result is not acted on: a taskbar that is not there yet
  // announces itself later with "TaskbarCreated", and the icon is added then.
  void Add() const;
  void Remove() const;

 private:
  NOTIFYICONDATAW Record() const;

  HWND window_;
  UINT callbackMessage_;
};
