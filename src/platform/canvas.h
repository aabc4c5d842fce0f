#pragma once
// Drawing on a Bitmap with the window system's semantics: a pen for lines and outlines,
// a brush for fills and the text background, a font for text, and a current position.
// Lines leave out their end point, rectangles leave out their right and bottom edges, and
// everything is clipped to the bitmap.
#include <span>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/text_renderer.h"

namespace audiodsp {

struct Pen {
  Color color = colors::kBlack;
  int width = 1;  // 0 draws like 1
};

enum class BrushStyle { kSolid, kClear };

struct Brush {
  Color color = colors::kWhite;
  BrushStyle style = BrushStyle::kSolid;
};

class Canvas {
 public:
  // The canvas draws on target, which must outlive it. Text goes through the given
  // renderer, or the built-in font when none is given.
  explicit Canvas(Bitmap& target, const TextRenderer* text = nullptr);

  Bitmap& target() { return *target_; }
  const Bitmap& target() const { return *target_; }

  Pen& pen() { return pen_; }
  Brush& brush() { return brush_; }
  Font& font() { return font_; }
  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  const Font& font() const { return font_; }
  void setTextRenderer(const TextRenderer* text);

  Point penPos() const { return penPos_; }
  void moveTo(int x, int y) { penPos_ = Point{x, y}; }
  // Draws from the current position up to, not including, (x, y), and moves there.
  void lineTo(int x, int y);
  // Joins the points in order; like lineTo, the last point itself is not drawn. The
  // current position is not used and not changed.
  void polyline(std::span<const Point> points);

  // Fills r (right and bottom outside) with the brush colour; a clear brush fills nothing.
  void fillRect(const Rect& r);
  // Outlines r with the pen on its outermost pixels and fills the inside with the brush.
  void rectangle(const Rect& r);

  // Writes UTF-8 text with its cell's top-left corner at (x, y): the cell is first filled
  // with the brush colour unless the brush is clear, then the glyphs are drawn in the font
  // colour. The current position moves to the end of the text.
  void textOut(int x, int y, std::string_view text);
  Size textExtent(std::string_view text) const;

  // Copies all of src with its top-left corner at (x, y).
  void draw(int x, int y, const Bitmap& src);
  // Copies the source rectangle of src onto dest, scaling by nearest pixel when the two
  // differ in size. src may be the canvas's own bitmap.
  void copyRect(const Rect& dest, const Bitmap& src, const Rect& source);

 private:
  void plot(int x, int y);
  void segment(Point from, Point to);

  Bitmap* target_;
  const TextRenderer* text_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Point penPos_;
};

}  // namespace audiodsp
