#pragma once

#include <windows.h>

#include "ui/form_view.h"
#include "ui/window_win32.h"

// An echo's end travels from its pool thread to the window as a posted
// message, so that the form hears of it on its own thread, also while a
// message box or a drag runs a loop of its own.
inline bool PostEchoEnded(HWND window, EchoTicket echo, bool answered) {
  return PostMessageW(window, MainWindow::kEchoEndedMessage, echo.number,
                      MAKELPARAM(static_cast<WORD>(echo.prober), answered)) != FALSE;
}

inline EchoTicket EchoTicketOf(WPARAM wParam, LPARAM lParam) {
  return {static_cast<ProbeFor>(LOWORD(lParam)), static_cast<std::uint32_t>(wParam)};
}

inline bool EchoAnswered(LPARAM lParam) { return HIWORD(lParam) != 0; }
