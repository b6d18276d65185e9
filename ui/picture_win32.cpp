#include "ui/picture_win32.h"

#include <cstring>

#include "win32/com_session.h"
#include "win32/scoped.h"

namespace {

// OleLoadPicture reads from a stream; the stream takes over the memory.
UniqueCom<IStream> StreamOfResource(HINSTANCE instance, int resourceId) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
  if (!found) return nullptr;
  const DWORD size = SizeofResource(instance, found);
  const void* bytes = LockResource(LoadResource(instance, found));
  if (!bytes || size == 0) return nullptr;
  UniqueGlobal copy(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!copy) return nullptr;
  {
    const LockedGlobal locked(copy.Get());
    if (!locked.Get()) return nullptr;
    std::memcpy(locked.Get(), bytes, size);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy.Get(), TRUE, &stream))) return nullptr;
  copy.Detach();
  return UniqueCom<IStream>(stream);
}

}  // namespace

UniqueCom<IPicture> DecodePictureResource(HINSTANCE instance, int resourceId) {
  const UniqueCom<IStream> stream = StreamOfResource(instance, resourceId);
  void* picture = nullptr;
  if (!stream || FAILED(OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, &picture)))
    return nullptr;
  return UniqueCom<IPicture>(static_cast<IPicture*>(picture));
}

bool RenderStretched(IPicture& picture, HDC dc, const RECT& target) {
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture.get_Width(&width);
  picture.get_Height(&height);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // HIMETRIC runs bottom-up, hence the source starting at the height.
  return SUCCEEDED(picture.Render(dc, target.left, target.top, target.right - target.left,
                                  target.bottom - target.top, 0, height, width, -height, nullptr));
}

Picture Picture::FromResource(HINSTANCE instance, int resourceId, SIZE size) {
  Picture drawn;
  // OLE is wanted on this thread only while it decodes.
  const ComSession com;
  const UniqueCom<IPicture> picture = DecodePictureResource(instance, resourceId);
  const WindowDc screen(nullptr);
  if (!picture || !screen) return drawn;
  const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
  if (!dc || !bitmap) return drawn;
  {
    const SelectedObject selected(dc.Get(), bitmap.Get());
    if (!RenderStretched(*picture, dc.Get(), {0, 0, size.cx, size.cy})) return drawn;
  }
  drawn.bitmap_ = std::move(bitmap);
  drawn.size_ = size;
  return drawn;
}

void Picture::Draw(HDC dc, POINT at) const {
  if (!bitmap_) return;
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  const SelectedObject selected(source.Get(), bitmap_.Get());
  BitBlt(dc, at.x, at.y, size_.cx, size_.cy, source.Get(), 0, 0, SRCCOPY);
}
