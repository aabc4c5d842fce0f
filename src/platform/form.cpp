#include "platform/form.h"

namespace audiodsp {

Form::Form(std::string name, std::string caption) : Control(*this, nullptr, std::move(name)) {
  setTextSilently(caption);
}

Form::~Form() {
  // Controls go before the form's own members; none of them runs a handler on the way out.
  focused_ = nullptr;
  owned_.clear();
}

Control* Form::find(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

std::vector<Control*> Form::controls() const {
  std::vector<Control*> all;
  all.reserve(owned_.size());
  for (const auto& c : owned_) all.push_back(c.get());
  return all;
}

bool Form::setFocus(Control& control) {
  if (&control.form() != this || !control.focusable() || !control.acceptsInput()) return false;
  moveFocus(&control);
  return true;
}

void Form::userFocus(Control& control) {
  setFocus(control);
}

void Form::clearFocus() {
  moveFocus(nullptr);
}

void Form::moveFocus(Control* target) {
  if (target == focused_) return;
  Control* old = focused_;
  focused_ = target;
  // A control that got the focus in a move still running never had onEnter, so it gets no onExit.
  const bool oldEntered = old != entering_;
  entering_ = target;
  notify(Property::Focus);
  if (old != nullptr && oldEntered && old->onExit) old->onExit();
  // The exit handler may have moved the focus on; then that move has run or will run the enter.
  if (focused_ != target || entering_ != target) return;
  entering_ = nullptr;
  if (target != nullptr && target->onEnter) target->onEnter();
}

void Form::close() {
  hide();
  if (onClose) onClose();
}

}  // namespace audiodsp
