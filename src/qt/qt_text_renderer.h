#pragma once
// Real system fonts for the canvases and the widgets. The window was laid out for the fonts of its
// original system (Tahoma, Arial, MS Sans Serif at 96 dots per inch); here every one of them is drawn
// with Liberation Sans, which has Arial's metrics, at the same pixel size, so texts fit their places.
#include <QFont>

#include "platform/text_renderer.h"

namespace audiodsp {

// The Qt font that stands for a font of the layout: the mapped family at size points of 96 dpi.
QFont qtFont(const Font& font);

class QtTextRenderer final : public TextRenderer {
 public:
  Size extent(const Font& font, std::string_view text) const override;
  // Anti-aliased ink is blended over the pixels already there.
  void drawInk(Bitmap& target, int x, int y, const Font& font, std::string_view text) const override;
};

}  // namespace audiodsp
