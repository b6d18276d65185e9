#pragma once

#include <windows.h>

// Scopes that give back what they borrowed: a window's DC, a painting, an
// object selected into a DC, a lock on global memory. Unlike the owners of
// unique_handle.h they need a second value to end with, and do not move.

// A value borrowed from a handle, given back to the same handle at the end
// of the scope as Return(from, value). A null value was not borrowed.
template <typename From, typename Value, auto Return>
class Borrowed {
 public:
  Borrowed(From from, Value value) : from_(from), value_(value) {}
  Borrowed(const Borrowed&) = delete;
  Borrowed& operator=(const Borrowed&) = delete;
  ~Borrowed() {
    if (value_) Return(from_, value_);
  }
  Value Get() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }

 private:
  From from_;
  Value value_;
};

// GetDC(window), released to the same window. A null window is the screen.
class WindowDc : public Borrowed<HWND, HDC, &::ReleaseDC> {
 public:
  explicit WindowDc(HWND window) : Borrowed(window, GetDC(window)) {}
};

// Puts an object into a DC and the previous one back when done: a DC must not
// be deleted, nor an object deleted, while ours is still selected.
class SelectedObject : public Borrowed<HDC, HGDIOBJ, &::SelectObject> {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : Borrowed(dc, SelectObject(dc, object)) {}
};

inline void UnlockGlobal(HGLOBAL memory, void*) { GlobalUnlock(memory); }

// GlobalLock ... GlobalUnlock; Get() is null when the lock failed.
class LockedGlobal : public Borrowed<HGLOBAL, void*, &UnlockGlobal> {
 public:
  explicit LockedGlobal(HGLOBAL memory) : Borrowed(memory, GlobalLock(memory)) {}
};

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() {
    if (dc_) EndPaint(window_, &paint_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};
