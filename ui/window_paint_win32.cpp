// How the main window looks: the band, the clock labels drawn over it, and
// the colours of the address box and the labels.

#include "ui/window_win32.h"

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

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID == idImage1)
    picture_.Draw(item.hDC, item.rcItem);
  else
    DrawClockLabel(item);
}

// The clock labels let the band show through. They are drawn whole into a
// bitmap first, so that a changing text neither smears nor flickers. Without
// the memory to do so, the label is left as it is until its next change.
void MainWindow::DrawClockLabel(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const UniqueMemoryDc buffer(CreateCompatibleDC(item.hDC));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(item.hDC, width, height));
  if (!buffer || !bitmap) return;
  const SelectedObject selectedBitmap(buffer.Get(), bitmap.Get());
  RECT area = {0, 0, width, height};
  FillRect(buffer.Get(), &area, bandBrush_.Get());

  const SelectedObject selectedFont(buffer.Get(), fonts_.Of(FontRole::Clock));
  SetBkMode(buffer.Get(), TRANSPARENT);
  SetTextColor(buffer.Get(), item.CtlID == id网络时间 ? 网络时间Colour_ : colours::kGreen);
  const std::wstring text = TextOf(item.hwndItem);
  DrawTextW(buffer.Get(), text.c_str(), static_cast<int>(text.size()), &area,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

void MainWindow::OnPaint() const {
  const PaintDc dc(window_);
  if (!dc) return;
  const RECT band = ToPixels(kShape2, dpi_);
  FillRect(dc.Get(), &band, bandBrush_.Get());
  FrameRect(dc.Get(), &band, GetSysColorBrush(COLOR_WINDOWTEXT));
}
