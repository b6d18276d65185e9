#include "ui/tooltip_win32.h"

#include <commctrl.h>

namespace {

// Longer lines wrap; a width is also what makes "\r\n" break a line.
constexpr int kMaxTipWidthPixels = 400;
// Long enough to read a few lines.
constexpr int kShowMilliseconds = 30000;

TOOLINFOW ToolInfo(HWND control, const std::wstring& text) {
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(control);
  info.uId = reinterpret_cast<UINT_PTR>(control);
  // The tooltip copies the text and never writes through this pointer.
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  return info;
}

}  // namespace

bool ControlTooltip::Attach(HWND control) {
  const HWND parent = GetParent(control);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, nullptr, nullptr);
  if (!tooltip_) return false;
  control_ = control;
  // A static control lets the mouse through to its parent unless it notifies.
  SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
  const std::wstring none;
  TOOLINFOW info = ToolInfo(control, none);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidthPixels);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kShowMilliseconds);
  return true;
}

void ControlTooltip::SetText(const std::wstring& text) const {
  if (!tooltip_) return;
  TOOLINFOW info = ToolInfo(control_, text);
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}
