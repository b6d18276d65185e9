#pragma once

#include <windows.h>
#include <olectl.h>

#include "win32/unique_handle.h"

// A JPEG from the program's resources, drawn stretched into any rectangle.
class Picture {
 public:
  static Picture FromResource(HINSTANCE instance, int resourceId);

  void Draw(HDC dc, const RECT& target) const;

 private:
  UniqueCom<IPicture> picture_;
};
