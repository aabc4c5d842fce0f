#include "platform/bars.h"

#include <algorithm>
#include <utility>

namespace audiodsp {

RangeControl::RangeControl(Form& form, Control* parent, std::string name, int min, int max)
    : Control(form, parent, std::move(name)), min_(min), max_(std::max(min, max)), position_(min) {
  setFocusable(true);
}

void RangeControl::setRange(int min, int max) {
  max = std::max(min, max);
  if (min != min_ || max != max_) {
    min_ = min;
    max_ = max;
    notify(Property::Range);
  }
  setPosition(position_);
}

void RangeControl::setPosition(int p) {
  p = std::clamp(p, min_, max_);
  if (p == position_) return;
  position_ = p;
  notify(Property::Position);
  if (onChange) onChange();
}

void RangeControl::setOrientation(Orientation o) {
  if (o == orientation_) return;
  orientation_ = o;
  notify(Property::Geometry);
}

void RangeControl::userSetPosition(int p) {
  if (!acceptsInput()) return;
  if (!takeFocusFromUser() || !acceptsInput()) return;
  setPosition(p);
}

ScrollBar::ScrollBar(Form& form, Control* parent, std::string name)
    : RangeControl(form, parent, std::move(name), 0, 100) {}

TrackBar::TrackBar(Form& form, Control* parent, std::string name)
    : RangeControl(form, parent, std::move(name), 0, 10) {}

}  // namespace audiodsp
