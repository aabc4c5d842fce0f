#pragma once

#include <functional>
#include <string>

#include "platform/control.h"

namespace audiodsp {

enum class Orientation { Horizontal, Vertical };

// A control with a position within min..max. Unlike list selections, moving the position from code
// runs onChange (when the position really changes), which is why handlers keep guard flags.
class RangeControl : public Control {
 public:
  RangeControl(Form& form, Control* parent, std::string name, int min, int max);

  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }

  // A max below min is raised to min. The position is brought into the new range (onChange if it moved).
  void setRange(int min, int max);
  void setMin(int v) { setRange(v, max_ < v ? v : max_); }
  void setMax(int v) { setRange(min_ > v ? v : min_, v); }
  // Clamped to min..max; onChange when the position changes.
  void setPosition(int p);

  Orientation orientation() const { return orientation_; }
  void setOrientation(Orientation o);

  std::function<void()> onChange;

  // The operator drags or steps the bar to p (clamped); onChange when the position changes.
  void userSetPosition(int p);

 private:
  int min_;
  int max_;
  int position_;
  Orientation orientation_ = Orientation::Horizontal;
};

class ScrollBar : public RangeControl {
 public:
  ScrollBar(Form& form, Control* parent, std::string name);  // 0..100
};

class TrackBar : public RangeControl {
 public:
  TrackBar(Form& form, Control* parent, std::string name);  // 0..10
};

}  // namespace audiodsp
