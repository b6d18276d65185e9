#pragma once
// The handle owners the toolkit needs.

#include <windows.h>

#include "ui/unique_handle.h"

namespace e2e {

// The product's own owners serve the tests too. UniqueKernelHandle takes null
// and INVALID_HANDLE_VALUE alike for "none", so it also owns what
// CreateFileW and CreateToolhelp32Snapshot return.
using Handle = UniqueKernelHandle;
using FileHandle = UniqueKernelHandle;
using RegKey = UniqueKey;
using MemoryDc = UniqueHandle<HDC, &::DeleteDC>;
using GdiObject = UniqueHandle<HGDIOBJ, &::DeleteObject>;

// GetDC/ReleaseDC need the window back, so they do not fit UniqueHandle.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Puts an object into a DC and the previous one back when done: a DC must not
// be deleted with our bitmap still selected into it.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace e2e
