#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>

// What a function hands back when it made nothing. Most give null; a few
// (CreateFileW, CreateToolhelp32Snapshot, IcmpCreateFile) give
// INVALID_HANDLE_VALUE, and for them null could be a real handle.
template <typename Handle>
struct NullIsNone {
  static Handle None() { return nullptr; }
};
struct InvalidHandleValueIsNone {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
};

// Owns one Windows handle and releases it with the given function. Move-only,
// so that no handle is ever released twice.
template <typename Handle, auto Release, typename Policy = NullIsNone<Handle>>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Detach());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  bool Valid() const { return handle_ != Policy::None(); }
  explicit operator bool() const { return Valid(); }

  void Reset(Handle handle = Policy::None()) {
    if (Valid()) Release(handle_);
    handle_ = handle;
  }
  Handle Detach() { return std::exchange(handle_, Policy::None()); }
  // For a function that hands its handle back through a pointer: releases
  // what is owned now and owns what the function writes.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Policy::None();
};

using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;
using UniqueFileHandle = UniqueHandle<HANDLE, &::CloseHandle, InvalidHandleValueIsNone>;
using UniqueKey = UniqueHandle<HKEY, &::RegCloseKey>;
using UniqueGlobal = UniqueHandle<HGLOBAL, &::GlobalFree>;
using UniqueIcon = UniqueHandle<HICON, &::DestroyIcon>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
// A DC of CreateCompatibleDC; a window's DC is a WindowDc (scoped.h).
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC>;

// A COM object, released once.
struct ComRelease {
  template <typename Object>
  void operator()(Object* object) const {
    object->Release();
  }
};
template <typename Object>
using UniqueCom = std::unique_ptr<Object, ComRelease>;
