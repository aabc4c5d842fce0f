#pragma once
// An off-screen RGB picture: what the graph draws into and what an image control shows.
// Pixels are stored row by row as packed 8-bit R, G, B triples, so a front-end can wrap
// the buffer directly (QImage::Format_RGB888 with bytesPerLine()).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace audiodsp {

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Color{r, g, b};
}

namespace colors {
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kRed{255, 0, 0};
}  // namespace colors

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

// Left and top inside, right and bottom outside, as the window system counts them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

class Bitmap {
 public:
  static_assert(sizeof(Color) == 3, "pixels are packed RGB triples");

  // A new bitmap is white, as a freshly sized window-system bitmap is. Negative sizes
  // count as 0.
  Bitmap(int width, int height, Color fill = colors::kWhite);

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Reading outside the bitmap gives black; writing outside is ignored.
  Color pixel(int x, int y) const { return contains(x, y) ? pixels_[index(x, y)] : colors::kBlack; }
  void setPixel(int x, int y, Color c) {
    if (contains(x, y)) pixels_[index(x, y)] = c;
  }
  void fill(Color c);

  // Row y (0 <= y < height) as width() pixels.
  Color* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Color* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint8_t* bits() const { return reinterpret_cast<const uint8_t*>(pixels_.data()); }
  int bytesPerLine() const { return width_ * 3; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

  int width_;
  int height_;
  std::vector<Color> pixels_;
};

}  // namespace audiodsp
