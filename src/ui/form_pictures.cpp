#include "ui/form_pictures.h"

#include <cmath>

#include "platform/canvas.h"
#include "platform/color.h"

namespace audiodsp {
namespace {

std::shared_ptr<Bitmap> make(int w, int h, Color fill) {
  return std::make_shared<Bitmap>(w, h, fill);
}

void disc(Bitmap& b, int cx, int cy, int r, Color c) {
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x)
      if (x * x + y * y <= r * r) b.setPixel(cx + x, cy + y, c);
}

// The fader's scale: the knob travels over rows 26 (+5 dB) to 205 (-20 dB).
void drawFader(Bitmap& b) {
  Canvas cv(b);
  cv.brush().color = rgb(60, 60, 64);
  cv.fillRect({70, 20, 92, 212});
  cv.brush().color = rgb(16, 16, 16);
  cv.fillRect({79, 24, 83, 208});
  cv.pen().color = rgb(200, 200, 200);
  cv.font() = Font{"Arial", 7, rgb(230, 230, 230)};
  cv.brush().style = BrushStyle::kClear;
  const struct {
    int db;
    const char* text;
  } marks[] = {{5, "+5"}, {0, "0"}, {-5, "-5"}, {-10, "-10"}, {-15, "-15"}, {-20, "-20"}};
  for (const auto& m : marks) {
    int y = 26 + static_cast<int>((5 - m.db) * 179 / 25);
    cv.moveTo(94, y + 6);
    cv.lineTo(104, y + 6);
    cv.textOut(108, y, m.text);
  }
}

void drawKnob(Bitmap& b, Color body) {
  Canvas cv(b);
  cv.brush().color = body;
  cv.pen().color = rgb(40, 40, 40);
  cv.rectangle({0, 0, b.width(), b.height()});
  cv.pen().color = rgb(255, 255, 255);
  cv.moveTo(2, b.height() / 2);
  cv.lineTo(b.width() - 2, b.height() / 2);
}

void drawSpeaker(Bitmap& b, Color cone) {
  Canvas cv(b);
  cv.brush().color = cone;
  int h = b.height(), w = b.width();
  cv.fillRect({3, h / 2 - 4, 9, h / 2 + 4});
  for (int x = 9; x < w - 6; ++x) {
    int half = 4 + (x - 9);
    cv.pen().color = cone;
    cv.moveTo(x, std::max(1, h / 2 - half));
    cv.lineTo(x, std::min(h - 1, h / 2 + half));
  }
}

void drawWiring(Bitmap& b) {
  Canvas cv(b);
  cv.font() = Font{"Arial", 9, rgb(0, 0, 0)};
  cv.brush().style = BrushStyle::kClear;
  cv.pen().color = rgb(0, 0, 0);
  cv.pen().width = 2;
  // Amplifier with its four output terminals; in BTL mode the loudspeaker bridges High+ and Low+.
  cv.rectangle({20, 20, 300, 137});
  cv.textOut(120, 30, "AMPLIFIER");
  const char* outs[] = {"HIGH", "MID", "LOW", "MAIN"};
  for (int i = 0; i < 4; ++i) {
    int x = 45 + i * 65;
    cv.textOut(x, 100, outs[i]);
    disc(b, x + 5, 125, 5, rgb(200, 0, 0));
    disc(b, x + 28, 125, 5, rgb(0, 0, 0));
  }
  cv.moveTo(50, 130);
  cv.lineTo(50, 150);
  cv.lineTo(480, 150);
  cv.lineTo(480, 100);
  cv.moveTo(180, 130);
  cv.lineTo(180, 143);
  cv.lineTo(520, 143);
  cv.lineTo(520, 100);
  cv.rectangle({460, 40, 540, 100});
  cv.textOut(470, 60, "SPEAKER");
  cv.textOut(560, 60, "BTL: HIGH + / LOW +");
}

}  // namespace

FormPictures::FormPictures()
    : faderBackground(make(163, 250, rgb(36, 36, 40))),
      faderKnob(make(12, 13, rgb(180, 180, 180))),
      secondKnob(make(12, 13, rgb(230, 200, 60))),
      lampOff(make(25, 25, colors::kButtonFace)),
      lampOn(make(25, 25, colors::kButtonFace)),
      midIcon(make(30, 28, colors::kButtonFace)),
      btlIcon(make(28, 30, colors::kButtonFace)),
      btlWiring(make(713, 157, colors::kWhite)) {
  drawFader(*faderBackground);
  drawKnob(*faderKnob, rgb(180, 180, 180));
  drawKnob(*secondKnob, rgb(230, 200, 60));
  disc(*lampOff, 12, 12, 10, rgb(90, 20, 20));
  disc(*lampOn, 12, 12, 10, rgb(40, 220, 40));
  drawSpeaker(*midIcon, rgb(60, 60, 200));
  drawSpeaker(*btlIcon, rgb(0, 128, 0));
  drawWiring(*btlWiring);
}

}  // namespace audiodsp
