#include "image.h"

#include <algorithm>
#include <cstdlib>

#include "files.h"

namespace e2e {
namespace {

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

template <class T>
void Append(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

int Image::CountColor(Rgb colour, const RECT& area, int tolerance) const {
  const int left = std::max<int>(area.left, 0);
  const int top = std::max<int>(area.top, 0);
  const int right = std::min<int>(area.right, width_);
  const int bottom = std::min<int>(area.bottom, height_);
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += Near(At(x, y), colour, tolerance);
  }
  return count;
}

bool Image::SaveBmp(const std::wstring& path) const {
  const int rowSize = (width_ * 3 + 3) & ~3;  // rows are padded to 4 bytes
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = height_;  // positive: bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = rowSize * height_;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;

  std::string bytes;
  bytes.reserve(file.bfSize);
  Append(bytes, file);
  Append(bytes, info);
  for (int y = height_ - 1; y >= 0; --y) {
    const auto rowStart = bytes.size();
    for (int x = 0; x < width_; ++x) {
      const Rgb& p = At(x, y);
      bytes += static_cast<char>(p.b);
      bytes += static_cast<char>(p.g);
      bytes += static_cast<char>(p.r);
    }
    bytes.resize(rowStart + rowSize, '\0');
  }
  return WriteFileBytes(path, bytes);
}

}  // namespace e2e
