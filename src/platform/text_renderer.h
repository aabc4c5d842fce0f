#pragma once
// Text rasterising for the canvas. The canvas fills the text background itself and asks a
// TextRenderer only for the size of a text and for its ink. The built-in renderer is a
// small bitmap font of our own, so drawing works without any window system; a front-end
// may hand the canvas a renderer of its own (real system fonts) instead.
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace audiodsp {

struct Font {
  std::string name = "Tahoma";
  int size = 8;  // points, at 96 pixels per inch
  Color color = colors::kBlack;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Size of the text cell of a UTF-8 text in pixels: the advance of all its characters by
  // the font's line height.
  virtual Size extent(const Font& font, std::string_view text) const = 0;
  // Draws the ink of the text in font.color with the cell's top-left corner at (x, y),
  // clipped to the target. Pixels between the strokes are left as they are.
  virtual void drawInk(Bitmap& target, int x, int y, const Font& font, std::string_view text) const = 0;
};

// The built-in bitmap font: digits, Latin letters, space and + - . : ° %; any other
// character is drawn as a hollow box. Glyphs are 7 pixels tall above the baseline (plus
// 2 for descenders) in a 13-pixel cell at 8 points, scaled by whole pixels for larger sizes.
// The font name is not looked at.
class BuiltinTextRenderer final : public TextRenderer {
 public:
  Size extent(const Font& font, std::string_view text) const override;
  void drawInk(Bitmap& target, int x, int y, const Font& font, std::string_view text) const override;
};

// One shared instance of the built-in renderer (it has no state).
const TextRenderer& builtinTextRenderer();

}  // namespace audiodsp
