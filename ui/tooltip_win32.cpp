#include "ui/tooltip_win32.h"

#include <commctrl.h>

namespace {

// Wide enough for a line of a short sentence; longer lines wrap, and "\r\n"
// only breaks lines once a width is set.
constexpr int kMaxTipWidthPixels = 400;
// Long enough to read two lines.
constexpr int kShowMilliseconds = 20000;

TOOLINFOW ToolInfo(HWND control, const std::wstring& text) {
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(control);
  info.uId = reinterpret_cast<UINT_PTR>(control);
  // The control copies the text; it never writes through this pointer.
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  return info;
}

}  // namespace

bool ControlTooltip::Create() {
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  const HWND parent = GetParent(control_);
  tooltip_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!tooltip_) return false;
  // A static control lets the mouse through to its parent unless it notifies.
  SetWindowLongPtrW(control_, GWL_STYLE, GetWindowLongPtrW(control_, GWL_STYLE) | SS_NOTIFY);
  const std::wstring none;
  TOOLINFOW info = ToolInfo(control_, none);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidthPixels);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kShowMilliseconds);
  return true;
}

void ControlTooltip::SetText(const std::wstring& text) {
  if (!tooltip_ && (text.empty() || !control_ || !Create())) return;
  TOOLINFOW info = ToolInfo(control_, text);
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}
