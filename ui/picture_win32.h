#pragma once

#include <windows.h>
#include <olectl.h>

#include "win32/unique_handle.h"

// A JPEG from the program's resources, decoded by OLE on a thread where COM
// is set up; null when it cannot be.
UniqueCom<IPicture> DecodePictureResource(HINSTANCE instance, int resourceId);
// The whole picture stretched into target, smoothed as a shrunk picture
// needs.
bool RenderStretched(IPicture& picture, HDC dc, const RECT& target);

// The picture of a resource drawn once, at the size it is shown at. Only
// that small bitmap is kept: the decoded original is let go as soon as it
// is made.
class Picture {
 public:
  // An empty picture when the resource cannot be decoded or drawn.
  static Picture FromResource(HINSTANCE instance, int resourceId, SIZE size);

  bool Fits(SIZE size) const { return bitmap_ && size.cx == size_.cx && size.cy == size_.cy; }
  // Nothing when empty.
  void Draw(HDC dc, POINT at) const;

 private:
  UniqueBitmap bitmap_;
  SIZE size_{};
};
