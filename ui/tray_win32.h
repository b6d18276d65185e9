#pragma once

#include <windows.h>

#include <string>

#include "ui/captions.h"
#include "ui/tray_icon.h"

// The notification-area icon of the main window.
class TrayIconWin32 {
 public:
  // The icon is the window's small icon of the moment, which follows the DPI.
  TrayIconWin32(HWND window, UINT callbackMessage)
      : window_(window), callbackMessage_(callbackMessage), tip_(kTrayTip) {}

  // False when the shell refused the icon; one it already has counts as added.
  bool Add() const;
  void Remove() const;
  // Kept for every later add, and given to the icon shown now.
  void SetTip(const std::wstring& tip);

 private:
  NOTIFYICONDATAW Record() const;

  HWND window_;
  UINT callbackMessage_;
  std::wstring tip_;
};
