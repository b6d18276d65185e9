#include "ui/tray_win32.h"

#include <shellapi.h>

#include <cwchar>

NOTIFYICONDATAW TrayIconWin32::Record() const {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window_;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage_;
  record.hIcon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  // A tip too long for the record is cut, which leaves its first line whole.
  std::wcsncpy(record.szTip, tip_.c_str(), sizeof record.szTip / sizeof record.szTip[0] - 1);
  return record;
}

bool TrayIconWin32::Add() const {
  NOTIFYICONDATAW record = Record();
  return Shell_NotifyIconW(NIM_ADD, &record) || Shell_NotifyIconW(NIM_MODIFY, &record);
}

void TrayIconWin32::SetTip(const std::wstring& tip) {
  tip_ = tip;
  NOTIFYICONDATAW record = Record();
  record.uFlags = NIF_TIP;
  // Fails while the window is shown and there is no icon; the next add
  // takes the tip along.
  Shell_NotifyIconW(NIM_MODIFY, &record);
}

void TrayIconWin32::Remove() const {
  NOTIFYICONDATAW record = Record();
  // An icon the shell does not have is already what removal wants.
  Shell_NotifyIconW(NIM_DELETE, &record);
}
