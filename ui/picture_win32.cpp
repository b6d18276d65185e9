#include "ui/picture_win32.h"

#include <cstring>

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

Picture Picture::FromResource(HINSTANCE instance, int resourceId) {
  Picture loaded;
  const UniqueCom<IStream> stream = StreamOfResource(instance, resourceId);
  if (!stream) return loaded;
  void* picture = nullptr;
  if (SUCCEEDED(OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, &picture)))
    loaded.picture_.reset(static_cast<IPicture*>(picture));
  return loaded;
}

void Picture::Draw(HDC dc, const RECT& target) const {
  if (!picture_) return;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // HIMETRIC runs bottom-up, hence the source starting at the height.
  picture_->Render(dc, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, 0, height, width, -height, nullptr);
}
