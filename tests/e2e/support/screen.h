#pragma once
// What a window really looks like on screen.

#include <windows.h>

#include <optional>

#include "image.h"

namespace e2e {

// Brings window to the top, has it repaint, and copies its client area from
// the screen. Reading the screen (not PrintWindow) is the point: it shows what
// the product actually painted, including whatever WM_PAINT does that
// WM_PRINTCLIENT would not. Captures until two in a row are identical, since
// Wine hands painted pixels to the X server a little later.
std::optional<Image> CaptureClient(HWND window);

}  // namespace e2e
