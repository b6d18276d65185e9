#include "ui/dpi_win32.h"

#include "win32/scoped.h"

namespace {

constexpr int kStandardDpi = 96;

// Looked up at each call, which is at start and on a change of DPI: a
// function-local static would link the C++ runtime's thread-safe guard and
// what it waits with into the exe.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemMetricForDpi(int metric, int dpi) {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(metric, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

HFONT CreateWindowFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
  return CreateFontIndirectW(&font);
}

HFONT CreateFontOf(const FontSpec& spec, int dpi) {
  return CreateFontW(-PointsToPixels(spec.hundredthsOfPoint, dpi), 0, 0, 0, spec.weight, FALSE,
                     FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.face);
}

HFONT CreateFontFor(FontRole role, int dpi) {
  switch (role) {
    case FontRole::Window: return CreateWindowFont(dpi);
    case FontRole::Clock: return CreateFontOf(kClockFont, dpi);
    case FontRole::Prompt: return CreateFontOf(kPromptFont, dpi);
    case FontRole::Caption: return CreateFontOf(kCaptionFont, dpi);
  }
  return nullptr;
}

}  // namespace

int SystemDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kStandardDpi;
}

int DpiOfWindow(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const int dpi = forWindow ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

RECT ToPixels(const TwipRect& rect, int dpi) {
  return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
          TwipsToPixels(rect.left + rect.width, dpi), TwipsToPixels(rect.top + rect.height, dpi)};
}

SIZE FrameSize(SIZE clientSize, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT frame = {0, 0, clientSize.cx, clientSize.cy};
  // Should both fail, the frame is the client area's size: a window a
  // little too small is still usable.
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

UniqueIcon LoadIconForDpi(HINSTANCE instance, int resourceId, WPARAM bigOrSmall, int dpi) {
  const bool big = bigOrSmall == ICON_BIG;
  const int width = SystemMetricForDpi(big ? SM_CXICON : SM_CXSMICON, dpi);
  const int height = SystemMetricForDpi(big ? SM_CYICON : SM_CYSMICON, dpi);
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, 0)));
}

bool ControlFonts::Create(int dpi) {
  for (const FontRole role :
       {FontRole::Window, FontRole::Clock, FontRole::Prompt, FontRole::Caption}) {
    UniqueFont& font = fonts_[static_cast<std::size_t>(role)];
    font.Reset(CreateFontFor(role, dpi));
    if (!font) return false;
  }
  return true;
}
