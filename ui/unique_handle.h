#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

// Owns one Windows handle and releases it with the given function. Move-only,
// so that no handle is ever released twice.
template <typename Handle, auto Release>
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
  // Some functions report failure with INVALID_HANDLE_VALUE, others with null.
  bool Valid() const {
    return handle_ != nullptr &&
           handle_ != reinterpret_cast<Handle>(static_cast<std::intptr_t>(-1));
  }
  explicit operator bool() const { return Valid(); }

  void Reset(Handle handle = nullptr) {
    if (Valid()) Release(handle_);
    handle_ = handle;
  }
  Handle Detach() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;
using UniqueKey = UniqueHandle<HKEY, &::RegCloseKey>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &::DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, &::DestroyIcon>;
