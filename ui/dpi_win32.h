#pragma once

#include <windows.h>

#include <array>

#include "ui/layout.h"
#include "win32/unique_handle.h"

// The window at its monitor's dots per inch: positions, frame, icons, fonts.
// What Windows 10 added for per-monitor DPI is looked up at run time, so that
// the program still starts on Windows 7, where every window has the system's.

int DpiOfWindow(HWND window);
// The system's, which a window made on the main monitor most likely gets.
int SystemDpi();
RECT ToPixels(const TwipRect& rect, int dpi);
// The outer size of a window of that style whose client area is clientSize.
SIZE FrameSize(SIZE clientSize, DWORD style, DWORD exStyle, int dpi);
// The icon resource in the size of a window's big or small icon at dpi.
UniqueIcon LoadIconForDpi(HINSTANCE instance, int resourceId, WPARAM bigOrSmall, int dpi);

// One font for each role, made for one DPI.
class ControlFonts {
 public:
  // False when a font cannot be made; the set is then not to be used.
  bool Create(int dpi);
  HFONT Of(FontRole role) const { return fonts_[static_cast<std::size_t>(role)].Get(); }

 private:
  std::array<UniqueFont, kFontRoleCount> fonts_;
};
