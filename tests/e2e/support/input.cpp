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

bool PressKey(WORD virtualKey) {
  INPUT keys[2]{};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

}  // namespace e2e
