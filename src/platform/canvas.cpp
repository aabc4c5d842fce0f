#include "platform/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace audiodsp {

Canvas::Canvas(Bitmap& target, const TextRenderer* text)
    : target_(&target), text_(text ? text : &builtinTextRenderer()) {}

void Canvas::setTextRenderer(const TextRenderer* text) {
  text_ = text ? text : &builtinTextRenderer();
}

void Canvas::plot(int x, int y) {
  int w = std::max(pen_.width, 1);
  if (w == 1) {
    target_->setPixel(x, y, pen_.color);
    return;
  }
  // A wide pen covers a w x w square centred on the thin line's pixel.
  int x0 = x - (w - 1) / 2;
  int y0 = y - (w - 1) / 2;
  for (int yy = y0; yy < y0 + w; ++yy)
    for (int xx = x0; xx < x0 + w; ++xx) target_->setPixel(xx, yy, pen_.color);
}

// Steps along the longer axis; the pixel of step i on the shorter axis is
// floor((2 i d + n - 1) / 2n) from the start (d the shorter extent, n the longer), i.e.
// the nearest pixel with halves going toward the start. Only the steps that can touch the
// bitmap are walked, so a segment far outside costs nothing and the pixels inside are the
// same as if the whole segment had been walked.
void Canvas::segment(Point from, Point to) {
  int64_t dx = int64_t{to.x} - from.x;
  int64_t dy = int64_t{to.y} - from.y;
  int64_t adx = dx < 0 ? -dx : dx;
  int64_t ady = dy < 0 ? -dy : dy;
  int64_t n = std::max(adx, ady);
  if (n == 0) return;
  bool xMajor = adx >= ady;
  int64_t major0 = xMajor ? from.x : from.y;
  int64_t minor0 = xMajor ? from.y : from.x;
  int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  int64_t d = xMajor ? ady : adx;
  int64_t majorLimit = xMajor ? target_->width() : target_->height();
  int64_t minorLimit = xMajor ? target_->height() : target_->width();
  int64_t margin = std::max(pen_.width, 1);

  int64_t first = 0;
  int64_t last = n;  // exclusive: the end point is not drawn
  if (majorStep > 0) {
    first = std::max<int64_t>(first, -margin - major0);
    last = std::min<int64_t>(last, majorLimit + margin - major0);
  } else {
    first = std::max<int64_t>(first, major0 - majorLimit - margin + 1);
    last = std::min<int64_t>(last, major0 + margin + 1);
  }
  if (first >= last) return;

  __int128 num = static_cast<__int128>(2) * first * d + n - 1;
  int64_t offset = static_cast<int64_t>(num / (2 * n));
  int64_t rest = static_cast<int64_t>(num % (2 * n));
  for (int64_t i = first; i < last; ++i) {
    int64_t major = major0 + i * majorStep;
    int64_t minor = minor0 + offset * minorStep;
    if (minor >= -margin && minor < minorLimit + margin) {
      if (xMajor)
        plot(static_cast<int>(major), static_cast<int>(minor));
      else
        plot(static_cast<int>(minor), static_cast<int>(major));
    }
    rest += 2 * d;
    if (rest >= 2 * n) {
      rest -= 2 * n;
      ++offset;
    }
  }
}

void Canvas::lineTo(int x, int y) {
  segment(penPos_, Point{x, y});
  penPos_ = Point{x, y};
}

void Canvas::polyline(std::span<const Point> points) {
  for (size_t i = 1; i < points.size(); ++i) segment(points[i - 1], points[i]);
}

namespace {

std::optional<Rect> clipTo(const Rect& r, const Bitmap& b) {
  Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, b.width()),
         std::min(r.bottom, b.height())};
  if (c.left >= c.right || c.top >= c.bottom) return std::nullopt;
  return c;
}

void fillWith(Bitmap& b, const Rect& r, Color color) {
  auto c = clipTo(r, b);
  if (!c) return;
  for (int y = c->top; y < c->bottom; ++y) std::fill(b.row(y) + c->left, b.row(y) + c->right, color);
}

}  // namespace

void Canvas::fillRect(const Rect& r) {
  if (brush_.style == BrushStyle::kSolid) fillWith(*target_, r, brush_.color);
}

void Canvas::rectangle(const Rect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  if (brush_.style == BrushStyle::kSolid)
    fillWith(*target_, Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brush_.color);
  if (r.width() == 1 || r.height() == 1) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) plot(x, y);
    return;
  }
  const Point corners[] = {{r.left, r.top},
                           {r.right - 1, r.top},
                           {r.right - 1, r.bottom - 1},
                           {r.left, r.bottom - 1},
                           {r.left, r.top}};
  polyline(corners);
}

Size Canvas::textExtent(std::string_view text) const {
  return text_->extent(font_, text);
}

void Canvas::textOut(int x, int y, std::string_view text) {
  Size cell = text_->extent(font_, text);
  if (brush_.style == BrushStyle::kSolid)
    fillWith(*target_, Rect{x, y, x + cell.width, y + cell.height}, brush_.color);
  text_->drawInk(*target_, x, y, font_, text);
  penPos_ = Point{x + cell.width, y};
}

void Canvas::draw(int x, int y, const Bitmap& src) {
  copyRect(Rect{x, y, x + src.width(), y + src.height()}, src, Rect{0, 0, src.width(), src.height()});
}

void Canvas::copyRect(const Rect& dest, const Bitmap& src, const Rect& source) {
  if (dest.width() <= 0 || dest.height() <= 0 || source.width() <= 0 || source.height() <= 0) return;
  if (&src == target_) {
    // Copying within one bitmap: read from a snapshot so overlapping areas stay intact.
    Bitmap snapshot = src;
    copyRect(dest, snapshot, source);
    return;
  }
  auto clipped = clipTo(dest, *target_);
  if (!clipped) return;
  const Rect& c = *clipped;
  bool sameSize = dest.width() == source.width() && dest.height() == source.height();
  for (int y = c.top; y < c.bottom; ++y) {
    int64_t sy = source.top + int64_t{y - dest.top} * source.height() / dest.height();
    if (sy < 0 || sy >= src.height()) continue;
    const Color* from = src.row(static_cast<int>(sy));
    Color* to = target_->row(y);
    if (sameSize) {
      int x0 = std::max(c.left, dest.left - source.left);
      int x1 = std::min(c.right, dest.left - source.left + src.width());
      if (x0 < x1)
        std::memcpy(to + x0, from + (x0 - dest.left + source.left),
                    sizeof(Color) * static_cast<size_t>(x1 - x0));
      continue;
    }
    for (int x = c.left; x < c.right; ++x) {
      int64_t sx = source.left + int64_t{x - dest.left} * source.width() / dest.width();
      if (sx >= 0 && sx < src.width()) to[x] = from[sx];
    }
  }
}

}  // namespace audiodsp
