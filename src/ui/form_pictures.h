#pragma once
// The pictures the window keeps and draws: fader background and knobs, the connection lamp, the Mid
// row icons for normal and BTL mode, and the BTL wiring picture of the "BTL Mode" dialog. The artwork is
// our own, drawn in code at the sizes the window lays out.
#include <memory>

#include "platform/bitmap.h"

namespace audiodsp {

struct FormPictures {
  FormPictures();
  std::shared_ptr<Bitmap> faderBackground;  // 163 x 250
  std::shared_ptr<Bitmap> faderKnob;        // 12 x 13
  std::shared_ptr<Bitmap> secondKnob;       // 12 x 13
  std::shared_ptr<Bitmap> lampOff;          // 25 x 25
  std::shared_ptr<Bitmap> lampOn;           // 25 x 25
  std::shared_ptr<Bitmap> midIcon;          // 30 x 28
  std::shared_ptr<Bitmap> btlIcon;          // 28 x 30
  std::shared_ptr<Bitmap> btlWiring;        // 713 x 157
};

}  // namespace audiodsp
