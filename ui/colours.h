#pragma once

#include <cstdint>

// Colours in the platform's 0x00BBGGRR form.
namespace colours {
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kDarkGrey = 0x404040;
}  // namespace colours
