#include "platform/control.h"

#include <utility>

#include "platform/form.h"

namespace audiodsp {

ControlObserver::~ControlObserver() = default;

Control::Control(Form& form, Control* parent, std::string name)
    : form_(form), parent_(parent), name_(std::move(name)) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

Control::~Control() = default;

bool Control::isInside(const Control& ancestor) const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (c == &ancestor) return true;
  }
  return false;
}

void Control::setVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  notify(Property::Visible);
}

bool Control::showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::setEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  notify(Property::Enabled);
}

bool Control::acceptsInput() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void Control::setGeometry(const Rect& r) {
  if (geometry_ == r) return;
  geometry_ = r;
  notify(Property::Geometry);
}

void Control::setText(const std::string& s) {
  if (text_ == s) return;
  text_ = s;
  notify(Property::Text);
}

void Control::setColor(Color c) {
  if (color_ == c) return;
  color_ = c;
  notify(Property::Color);
}

void Control::setFont(const Font& f) {
  if (font_.name == f.name && font_.size == f.size && font_.color == f.color) return;
  font_ = f;
  notify(Property::Font);
}

void Control::setFontColor(Color c) {
  Font f = font_;
  f.color = c;
  setFont(f);
}

void Control::setHint(const std::string& s) {
  if (hint_ == s) return;
  hint_ = s;
  notify(Property::Hint);
}

bool Control::focused() const {
  return form_.focusedControl() == this;
}

void Control::userClick() {
  if (!acceptsInput()) return;
  if (focusable_ && !takeFocusFromUser()) return;
  // The exit handler of the control that lost the focus may have disabled or hidden this one.
  if (!acceptsInput()) return;
  if (onClick) onClick();
}

void Control::notify(Property p) {
  if (observer_ != nullptr) observer_->changed(*this, p);
}

bool Control::takeFocusFromUser() {
  form_.userFocus(*this);
  return focused();
}

}  // namespace audiodsp
