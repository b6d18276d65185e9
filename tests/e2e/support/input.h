#pragma once
// Operating controls of another process the way a click or a key would,
// through the messages the controls themselves react to.

#include <windows.h>

#include <string>

namespace e2e {

// BM_CLICK, sent: returns after the product has handled the click. A button
// whose handler opens a modal dialog would block the test until the dialog
// is closed.
void Click(HWND button);

// WM_SETTEXT, sent. Edit controls report it as EN_CHANGE to their parent,
// just as if the text had been typed.
bool SetText(HWND control, const std::wstring& text);

// WM_HSCROLL to the scroll bar's parent, as the scroll bar itself sends it:
// code is SB_LINELEFT, SB_PAGERIGHT, SB_THUMBPOSITION..., position only
// matters for SB_THUMBPOSITION and SB_THUMBTRACK.
void SendHScroll(HWND scrollBar, int code, int position = 0);

// A key pressed and released, through SendInput: it goes to the window in
// the foreground, and the system makes of it what it makes of a real key
// (F1 becomes WM_HELP, which a posted WM_KEYDOWN never does).
bool PressKey(WORD virtualKey);

// WM_CLOSE, as the title bar's close button would post it.
void PostClose(HWND window);

}  // namespace e2e
