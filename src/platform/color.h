#pragma once

#include <cstdint>

namespace audiodsp {

// An RGB colour. The window system writes colours as one number with red in the low byte
// (0x00BBGGRR: 255 is red, 14737632 = 0xE0E0E0 light grey); value() and fromValue() convert.
struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;

  static constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) { return Color{r, g, b}; }
  static constexpr Color fromValue(uint32_t v) {
    return Color{static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
                 static_cast<uint8_t>((v >> 16) & 0xFF)};
  }
  constexpr uint32_t value() const { return uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16); }

  friend constexpr bool operator==(Color, Color) = default;
};

namespace colors {
inline constexpr Color kBlack = Color::rgb(0, 0, 0);
inline constexpr Color kWhite = Color::rgb(255, 255, 255);
inline constexpr Color kRed = Color::rgb(255, 0, 0);
inline constexpr Color kGreen = Color::rgb(0, 128, 0);
inline constexpr Color kLightGrey = Color::rgb(224, 224, 224);  // 14737632, the idle button colour
inline constexpr Color kLightYellow = Color::rgb(255, 255, 128);
inline constexpr Color kButtonFace = Color::rgb(240, 240, 240);
inline constexpr Color kWindow = Color::rgb(255, 255, 255);
}  // namespace colors

}  // namespace audiodsp
