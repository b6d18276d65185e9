#include "ui/controls_win32.h"

#include <vector>

namespace {

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::Edit:
      return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ToggleButton:
      return {L"BUTTON", child | WS_TABSTOP | BS_3STATE | BS_PUSHLIKE, 0};
    case ControlKind::ScrollBar: return {L"SCROLLBAR", child | WS_TABSTOP | SBS_HORZ, 0};
    case ControlKind::ClockLabel: return {L"STATIC", child | SS_OWNERDRAW | SS_NOPREFIX, 0};
    case ControlKind::Label: return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Picture: return {L"STATIC", child | SS_OWNERDRAW | SS_NOTIFY, 0};
  }
  return {L"STATIC", child, 0};
}

void SetUpScrollBar(HWND scrollBar) {
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof scroll;
  scroll.fMask = SIF_RANGE | SIF_POS;
  scroll.nMin = kScrollMinimum;
  scroll.nMax = kScrollMaximum;
  scroll.nPos = kScrollDesignValue;
  SetScrollInfo(scrollBar, SB_CTL, &scroll, TRUE);
}

void SetFont(HWND control, const ControlFonts& fonts, FontRole role, bool redraw) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Of(role)), redraw);
}

}  // namespace

// Made where they stand rather than moved there: each move is a round of
// messages per control, at every start.
bool CreateControls(HWND parent, HINSTANCE instance, int dpi, const ControlFonts& fonts) {
  for (const ControlSpec& spec : kControls) {
    const ControlClass controlClass = ClassFor(spec.kind);
    const RECT rect = ToPixels(spec.rect, dpi);
    const HWND control =
        CreateWindowExW(controlClass.exStyle, controlClass.name, spec.text, controlClass.style,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (!control) return false;
    SetFont(control, fonts, spec.font, false);
  }
  SendMessageW(GetDlgItem(parent, id服务器路径), EM_SETLIMITTEXT, 0, 0);  // 0 lifts the limit
  SetUpScrollBar(GetDlgItem(parent, id滚动条));
  return true;
}

void PlaceControls(HWND parent, int dpi, const ControlFonts& fonts) {
  for (const ControlSpec& spec : kControls) {
    const RECT rect = ToPixels(spec.rect, dpi);
    const HWND control = GetDlgItem(parent, spec.id);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetFont(control, fonts, spec.font, true);
  }
}

const ControlSpec* SpecOf(int id) {
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return &spec;
  return nullptr;
}

std::wstring TextOf(HWND control) {
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), static_cast<std::size_t>(length));
}
