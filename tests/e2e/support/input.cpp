#include "input.h"

namespace e2e {

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

bool SetText(HWND control, const std::wstring& text) {
  return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
}

void SendHScroll(HWND scrollBar, int code, int position) {
  SendMessageW(GetParent(scrollBar), WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
               reinterpret_cast<LPARAM>(scrollBar));
}

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

}  // namespace e2e
