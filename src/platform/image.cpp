#include "platform/image.h"

#include <utility>

namespace audiodsp {

Image::Image(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {}

void Image::setPicture(std::shared_ptr<Bitmap> bitmap) {
  picture_ = std::move(bitmap);
  notify(Property::Picture);
}

void Image::userMouseDown(MouseButton button, int x, int y) {
  if (acceptsInput() && onMouseDown) onMouseDown(button, x, y);
}

void Image::userMouseMove(MouseButton button, int x, int y) {
  if (acceptsInput() && onMouseMove) onMouseMove(button, x, y);
}

void Image::userMouseUp(MouseButton button, int x, int y) {
  if (acceptsInput() && onMouseUp) onMouseUp(button, x, y);
}

}  // namespace audiodsp
