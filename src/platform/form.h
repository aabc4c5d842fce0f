#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/control.h"

namespace audiodsp {

// A window: the root control that owns every control on it, finds them by name and keeps the keyboard
// focus. Focus moves (from code or by the operator) run onExit of the control losing the focus, then
// onEnter of the one receiving it.
class Form : public Control {
 public:
  explicit Form(std::string name, std::string caption = {});
  ~Form() override;

  // Makes a control of type T named name inside parent (the form itself when null). Names are unique
  // on a form; a second control of the same name is a programming error (std::invalid_argument).
  template <class T, class... Args>
  T& add(std::string name, Control* parent = nullptr, Args&&... args) {
    if (byName_.count(name) != 0 || name == this->name()) {
      throw std::invalid_argument("duplicate control name " + name);
    }
    auto control = std::make_unique<T>(*this, parent ? parent : this, name, std::forward<Args>(args)...);
    T& ref = *control;
    byName_.emplace(std::move(name), control.get());
    owned_.push_back(std::move(control));
    return ref;
  }

  // The control called name, or null.
  Control* find(const std::string& name) const;
  // The control called name as a T; throws std::out_of_range when there is none of that type.
  template <class T>
  T& get(const std::string& name) const {
    T* t = dynamic_cast<T*>(find(name));
    if (t == nullptr) throw std::out_of_range("no control " + name + " of the asked kind");
    return *t;
  }
  // Every control in creation order.
  std::vector<Control*> controls() const;

  Control* focusedControl() const { return focused_; }
  // Moves the focus from code. Fails (false) for a control that cannot take it: not focusable, hidden or
  // disabled (itself or an ancestor). Focusing the focused control does nothing.
  bool setFocus(Control& control);
  // The operator puts the focus on the control (a click or the tab key); ignored when it cannot take it.
  void userFocus(Control& control);
  // The focus leaves every control (the window lost the focus); the focused control's onExit runs.
  void clearFocus();

  // Closing the window hides it and runs onClose (the main window's close ends the program).
  std::function<void()> onClose;
  void close();

 private:
  void moveFocus(Control* target);

  std::vector<std::unique_ptr<Control>> owned_;
  std::unordered_map<std::string, Control*> byName_;
  Control* focused_ = nullptr;
  Control* entering_ = nullptr;  // the control whose onEnter is still to run during a focus move
};

}  // namespace audiodsp
