#pragma once

#include <windows.h>

// The notification-area icon of the main window.
class TrayIconWin32 {
 public:
  // The icon is the window's small icon of the moment, which follows the DPI.
  TrayIconWin32(HWND window, UINT callbackMessage)
      : window_(window), callbackMessage_(callbackMessage) {}

  // False when the shell refused the icon; one it already has counts as added.
  bool Add() const;
  void Remove() const;

 private:
  NOTIFYICONDATAW Record() const;

  HWND window_;
  UINT callbackMessage_;
};
