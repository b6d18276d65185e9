#pragma once
// An RGB picture in memory: what a screen capture gives, what tests inspect.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// COLORREF as RGB(...) writes it.
inline Rgb ToRgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

class Image {
 public:
  Image() = default;
  Image(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb& At(int x, int y) { return pixels_[y * width_ + x]; }
  const Rgb& At(int x, int y) const { return pixels_[y * width_ + x]; }
  friend bool operator==(const Image&, const Image&) = default;

  // Pixels within area (clipped to the image) whose every channel is within
  // tolerance of colour. Anti-aliased text and dithering make exact matches
  // brittle for anything but flat fills.
  int CountColor(Rgb colour, const RECT& area, int tolerance = 0) const;

  // 24-bit bottom-up BMP, for looking at what a failing test saw.
  bool SaveBmp(const std::wstring& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace e2e
