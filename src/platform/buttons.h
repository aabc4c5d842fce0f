#pragma once

#include <functional>
#include <string>

#include "platform/control.h"

namespace audiodsp {

// A push button (also the coloured buttons; the colour is the control's colour). Takes the focus when
// clicked.
class Button : public Control {
 public:
  Button(Form& form, Control* parent, std::string name);
};

// A flat tool button that never takes the focus (the small close glyphs of the pop-up panels).
class SpeedButton : public Button {
 public:
  SpeedButton(Form& form, Control* parent, std::string name);
};

// A pair of up/down arrows. Clicking them does not take the focus, so the field they step keeps it.
class SpinButtons : public Control {
 public:
  SpinButtons(Form& form, Control* parent, std::string name);

  std::function<void()> onUpClick;    // up or right arrow
  std::function<void()> onDownClick;  // down or left arrow

  void userClickUp();
  void userClickDown();
};

// A menu entry of the main menu. Top-level menus have the form as parent, their entries the menu; a
// disabled or hidden menu blocks all its entries.
class MenuItem : public Control {
 public:
  MenuItem(Form& form, Control* parent, std::string name);
};

}  // namespace audiodsp
