#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/control.h"

namespace audiodsp {

class Bitmap;

enum class MouseButton { Left, Right, Middle };

// A picture on the form. It shows a bitmap that the program draws on; after drawing, repaint() tells the
// front-end to show the new pixels. Images do not take the focus.
class Image : public Control {
 public:
  Image(Form& form, Control* parent, std::string name);

  const std::shared_ptr<Bitmap>& picture() const { return picture_; }
  void setPicture(std::shared_ptr<Bitmap> bitmap);
  void repaint() { notify(Property::Picture); }

  std::function<void(MouseButton, int x, int y)> onMouseDown;
  std::function<void(MouseButton, int x, int y)> onMouseMove;
  std::function<void(MouseButton, int x, int y)> onMouseUp;

  // The operator's mouse on the image, in image pixels. While a button is held the image keeps the
  // mouse, so moves and the release may lie outside it (also negative).
  void userMouseDown(MouseButton button, int x, int y);
  void userMouseMove(MouseButton button, int x, int y);
  void userMouseUp(MouseButton button, int x, int y);

 private:
  std::shared_ptr<Bitmap> picture_;
};

}  // namespace audiodsp
