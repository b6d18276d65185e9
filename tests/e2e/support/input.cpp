#include "input.h"

namespace e2e {
namespace {

void SendScroll(UINT message, HWND scroll_bar, int code, int position) {
  SendMessageW(GetParent(scroll_bar), message, MAKEWPARAM(code, static_cast<WORD>(position)),
               reinterpret_cast<LPARAM>(scroll_bar));
}

}  // namespace

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool SetText(HWND control, const std::wstring& text) {
  return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
}

void SendHScroll(HWND scroll_bar, int code, int position) {
  SendScroll(WM_HSCROLL, scroll_bar, code, position);
}

void SendVScroll(HWND scroll_bar, int code, int position) {
  SendScroll(WM_VSCROLL, scroll_bar, code, position);
}

int ScrollPos(HWND scroll_bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  GetScrollInfo(scroll_bar, SB_CTL, &info);
  return info.nPos;
}

void PostCommand(HWND window, int command_id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(command_id, 0), 0);
}

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

}  // namespace e2e
