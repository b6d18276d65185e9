#include "ui/tray_win32.h"

#include <shellapi.h>

#include <cwchar>

#include "ui/tray_icon.h"

NOTIFYICONDATAW TrayIconWin32::Record() const {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window_;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage_;
  record.hIcon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  std::wcsncpy(record.szTip, kTrayTip, sizeof record.szTip / sizeof record.szTip[0] - 1);
  return record;
}

bool TrayIconWin32::Add() const {
  NOTIFYICONDATAW record = Record();
  return Shell_NotifyIconW(NIM_ADD, &record) || Shell_NotifyIconW(NIM_MODIFY, &record);
}

void TrayIconWin32::Remove() const {
  NOTIFYICONDATAW record = Record();
  // An icon the shell does not have is already what removal wants.
  Shell_NotifyIconW(NIM_DELETE, &record);
}
