#pragma once
// The notification area, seen from another process.

#include <windows.h>

#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

// Whether the icon (owner window, id) is in the notification area right now.
// Asks the tray to modify the icon while changing nothing (uFlags 0): the
// tray says yes only for an icon it has, and the product's tip, icon and
// callback message stay as they are.
bool TrayIconExists(HWND owner, UINT id);

// The tips of all icons in the notification area, as the taskbar holds
// them for its tooltips.
std::vector<std::wstring> TrayTips();

// The taskbar of the Wine virtual desktop; nullptr if it does not come up in
// time. explorer creates it a moment after the desktop itself, and an icon
// added before that is lost, so e2e_main.cpp waits for it before any test.
// Wine keeps it hidden while the notification area is empty and shows it
// along the bottom of the screen with the first icon.
HWND WaitForTaskbar(int timeoutMs = kDefaultTimeoutMs);

}  // namespace e2e
