// How the main window looks: the band, the clock labels drawn over it, and
// the colours of the address box and the labels.

#include "ui/window_win32.h"

#include <utility>

#include "ui/colours.h"
#include "ui/controls_win32.h"
#include "ui/resources/resource_ids.h"
#include "win32/scoped.h"

void MainWindow::Set服务器路径Colours(std::uint32_t back, std::uint32_t fore) {
  // Twice a second the same colours come again; repainting them would flicker.
  if (back == addressBack_ && fore == addressFore_) return;
  // Without a brush the old colours stay, and the next tick tries again.
  UniqueBrush brush(CreateSolidBrush(back));
  if (!brush) return;
  addressBrush_ = std::move(brush);
  addressBack_ = back;
  addressFore_ = fore;
  InvalidateRect(Control(id服务器路径), nullptr, TRUE);
}

void MainWindow::Set网络时间Colour(std::uint32_t colour) {
  if (colour == 网络时间Colour_) return;
  网络时间Colour_ = colour;
  InvalidateRect(Control(id网络时间), nullptr, FALSE);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == id服务器路径) {
    SetTextColor(dc, addressFore_);
    SetBkColor(dc, addressBack_);
    return reinterpret_cast<LRESULT>(addressBrush_.Get());
  }
  const ControlSpec* spec = SpecOf(id);
  const bool buttonText = spec && spec->labelColour == LabelColour::ButtonText;
  SetTextColor(dc, buttonText ? GetSysColor(COLOR_BTNTEXT) : colours::kBlack);
  SetBkColor(dc, GetSysColor(COLOR_3DFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID == idImage1)
    DrawPicture(item);
  else
    DrawClockLabel(item);
}

// The clock labels lie on the band, in its colour. Text and background go
// in one call, so that a changing text neither smears nor flickers, with no
// bitmap kept to draw it in first.
void MainWindow::DrawClockLabel(const DRAWITEMSTRUCT& item) {
  const SelectedObject selectedFont(item.hDC, fonts_.Of(FontRole::Clock));
  SetTextColor(item.hDC, item.CtlID == id网络时间 ? 网络时间Colour_ : colours::kGreen);
  SetBkColor(item.hDC, colours::kDarkGrey);
  SetTextAlign(item.hDC, TA_CENTER | TA_TOP | TA_NOUPDATECP);
  const std::wstring text = TextOf(item.hwndItem);
  ExtTextOutW(item.hDC, (item.rcItem.left + item.rcItem.right) / 2, item.rcItem.top,
              ETO_OPAQUE | ETO_CLIPPED, &item.rcItem, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
}

// Decoding the picture is the slowest part of the first view, and the least
// needed: until the window stands painted, its place shows the window's
// face colour.
void MainWindow::DrawPicture(const DRAWITEMSTRUCT& item) {
  const SIZE size = {item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
  if (picture_.Fits(size)) {
    picture_.Draw(item.hDC, {item.rcItem.left, item.rcItem.top});
    return;
  }
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_3DFACE));
  if (size.cx == pictureSizeAsked_.cx && size.cy == pictureSizeAsked_.cy) return;
  pictureSizeAsked_ = size;
  // A timer's message comes only once no window waits to be painted.
  SetTimer(window_, kPictureTimer, USER_TIMER_MINIMUM, nullptr);
}

void MainWindow::MakePicture() {
  KillTimer(window_, kPictureTimer);
  picture_ = Picture::FromResource(instance_, IDR_HELP_PICTURE, pictureSizeAsked_);
  InvalidateRect(Control(idImage1), nullptr, FALSE);
}

void MainWindow::OnPaint() const {
  const PaintDc dc(window_);
  if (!dc) return;
  const RECT band = ToPixels(kShape2, dpi_);
  FillRect(dc.Get(), &band, bandBrush_.Get());
  FrameRect(dc.Get(), &band, GetSysColorBrush(COLOR_WINDOWTEXT));
}
