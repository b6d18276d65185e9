// How the main window looks: the band, the clock labels drawn over it, and
// the colours of the address box and the labels.

#include "ui/window_win32.h"

#include <algorithm>
#include <utility>

#include "ui/colours.h"
#include "ui/controls_win32.h"
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
    picture_.Draw(item.hDC, item.rcItem);
  else
    DrawClockLabel(item);
}

// One bitmap for both clock labels, made at the first paint and again only
// when a label needs more room (at a larger DPI): a memory DC and a bitmap
// made for the screen had the system look up its display devices at every
// paint, once a second.
HDC MainWindow::ClockBuffer(HDC screen, int width, int height) {
  if (clockBuffer_ && width <= clockBufferSize_.cx && height <= clockBufferSize_.cy)
    return clockBuffer_.Get();
  const SIZE size = {std::max<LONG>(width, clockBufferSize_.cx),
                     std::max<LONG>(height, clockBufferSize_.cy)};
  UniqueMemoryDc buffer(CreateCompatibleDC(screen));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
  if (!buffer || !bitmap) return nullptr;
  SelectObject(buffer.Get(), bitmap.Get());
  clockBuffer_ = std::move(buffer);
  clockBitmap_ = std::move(bitmap);
  clockBufferSize_ = size;
  return clockBuffer_.Get();
}

// The clock labels let the band show through. They are drawn whole into a
// bitmap first, so that a changing text neither smears nor flickers. Without
// the memory to do so, the label is left as it is until its next change.
void MainWindow::DrawClockLabel(const DRAWITEMSTRUCT& item) {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const HDC buffer = ClockBuffer(item.hDC, width, height);
  if (!buffer) return;
  RECT area = {0, 0, width, height};
  FillRect(buffer, &area, bandBrush_.Get());

  const SelectedObject selectedFont(buffer, fonts_.Of(FontRole::Clock));
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, item.CtlID == id网络时间 ? 网络时间Colour_ : colours::kGreen);
  const std::wstring text = TextOf(item.hwndItem);
  DrawTextW(buffer, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer, 0, 0, SRCCOPY);
}

void MainWindow::OnPaint() const {
  const PaintDc dc(window_);
  if (!dc) return;
  const RECT band = ToPixels(kShape2, dpi_);
  FillRect(dc.Get(), &band, bandBrush_.Get());
  FrameRect(dc.Get(), &band, GetSysColorBrush(COLOR_WINDOWTEXT));
}
