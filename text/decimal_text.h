#pragma once

#include <string>

// An integer in decimal digits, as std::to_wstring writes it. With mingw-w64,
// std::to_wstring formats through the C library's wide printf, which links
// its whole formatting engine, floating point included, into the exe; the
// narrow std::to_string converts integers by itself.
template <typename Integer>
std::wstring DecimalText(Integer value) {
  const std::string digits = std::to_string(value);
  return std::wstring(digits.begin(), digits.end());
}
