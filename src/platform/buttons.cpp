#include "platform/buttons.h"

#include <utility>

namespace audiodsp {

Button::Button(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {
  setFocusable(true);
}

SpeedButton::SpeedButton(Form& form, Control* parent, std::string name)
    : Button(form, parent, std::move(name)) {
  setFocusable(false);
}

SpinButtons::SpinButtons(Form& form, Control* parent, std::string name)
    : Control(form, parent, std::move(name)) {}

void SpinButtons::userClickUp() {
  if (acceptsInput() && onUpClick) onUpClick();
}

void SpinButtons::userClickDown() {
  if (acceptsInput() && onDownClick) onDownClick();
}

MenuItem::MenuItem(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {}

}  // namespace audiodsp
