#pragma once

#include <string>

#include "platform/control.h"

namespace audiodsp {

// A captioned box that groups controls. Disabling or hiding it blocks input to everything inside.
class GroupBox : public Control {
 public:
  GroupBox(Form& form, Control* parent, std::string name);
};

// A plain container. Double buffering is a drawing hint for the front-end (no flicker while an image
// inside is redrawn on every mouse move).
class Panel : public Control {
 public:
  Panel(Form& form, Control* parent, std::string name);
  bool doubleBuffered() const { return doubleBuffered_; }
  void setDoubleBuffered(bool on) { doubleBuffered_ = on; }

 private:
  bool doubleBuffered_ = false;
};

// A static text.
class Label : public Control {
 public:
  Label(Form& form, Control* parent, std::string name);
};

}  // namespace audiodsp
