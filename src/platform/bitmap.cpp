#include "platform/bitmap.h"

#include <algorithm>

namespace audiodsp {

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void Bitmap::fill(Color c) {
  std::fill(pixels_.begin(), pixels_.end(), c);
}

}  // namespace audiodsp
