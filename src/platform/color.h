#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace audiodsp {

// The window system writes a colour as one number with red in the low byte (0x00BBGGRR: 255 is red,
// 14737632 = 0xE0E0E0 light grey).
constexpr Color colorFromValue(uint32_t v) {
  return Color{static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
               static_cast<uint8_t>((v >> 16) & 0xFF)};
}
constexpr uint32_t colorValue(Color c) {
  return uint32_t{c.r} | (uint32_t{c.g} << 8) | (uint32_t{c.b} << 16);
}

// The colours the controls use; black, white and red come with the bitmap.
namespace colors {
inline constexpr Color kGreen{0, 128, 0};
inline constexpr Color kLightGrey{224, 224, 224};  // 14737632, the idle button colour
inline constexpr Color kLightYellow{255, 255, 128};
inline constexpr Color kButtonFace{240, 240, 240};
inline constexpr Color kWindow{255, 255, 255};
}  // namespace colors

}  // namespace audiodsp
