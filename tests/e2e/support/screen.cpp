#include "screen.h"

#include <functional>

#include "wait.h"
#include "win32/scoped.h"
#include "win32/unique_handle.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr int kStableTimeoutMs = 5000;

// Copies width x height pixels that draw() puts into a 32-bit top-down DIB.
std::optional<Image> Grab(int width, int height, const std::function<bool(HDC)>& draw) {
  if (width <= 0 || height <= 0) return std::nullopt;
  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));  // compatible with the screen
  if (!memory) return std::nullopt;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return std::nullopt;

  {
    SelectedObject select(memory.Get(), bitmap.Get());
    if (!draw(memory.Get())) return std::nullopt;
    GdiFlush();
  }
  Image image(width, height);
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = bgra + (y * width + x) * 4;
      image.At(x, y) = Rgb{p[2], p[1], p[0]};
    }
  }
  return image;
}

std::optional<Image> GrabScreen(const RECT& area) {
  return Grab(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
    WindowDc screen(nullptr);
    return BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen.Get(), area.left,
                  area.top, SRCCOPY) != FALSE;
  });
}

RECT ClientOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void BringToTop(HWND window) {
  SetForegroundWindow(window);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

std::optional<Image> CaptureClient(HWND window) {
  if (!IsWindow(window)) return std::nullopt;
  BringToTop(window);
  std::optional<Image> previous, current;
  WaitFor(
      [&] {
        previous = std::move(current);
        current = GrabScreen(ClientOnScreen(window));
        return current && previous && *current == *previous;
      },
      kStableTimeoutMs);
  return current;
}

}  // namespace e2e
