#include "platform/containers.h"

#include <utility>

namespace audiodsp {

GroupBox::GroupBox(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {}

Panel::Panel(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {}

Label::Label(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {
  setColor(colors::kButtonFace);
}

}  // namespace audiodsp
