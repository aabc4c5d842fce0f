#include "platform/lists.h"

#include <algorithm>
#include <utility>

namespace audiodsp {

ListControl::ListControl(Form& form, Control* parent, std::string name)
    : Control(form, parent, std::move(name)) {
  setFocusable(true);
  setColor(colors::kWindow);
}

std::string ListControl::item(int index) const {
  return index >= 0 && index < itemCount() ? items_[static_cast<size_t>(index)] : std::string();
}

int ListControl::indexOf(const std::string& s) const {
  auto it = std::find(items_.begin(), items_.end(), s);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ListControl::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  notify(Property::Items);
  if (itemIndex_ != -1) {
    itemIndex_ = -1;
    notify(Property::ItemIndex);
  }
  selectionChanged();
}

void ListControl::addItem(std::string s) {
  items_.push_back(std::move(s));
  notify(Property::Items);
}

void ListControl::setItem(int index, std::string s) {
  if (index < 0 || index >= itemCount()) return;
  items_[static_cast<size_t>(index)] = std::move(s);
  notify(Property::Items);
  if (index == itemIndex_) selectionChanged();
}

void ListControl::setItemIndex(int index) {
  if (index < -1 || index >= itemCount()) index = -1;
  if (index != itemIndex_) {
    itemIndex_ = index;
    notify(Property::ItemIndex);
  }
  selectionChanged();
}

void ListControl::userSelect(int index) {
  if (!acceptsInput() || index < 0 || index >= itemCount()) return;
  if (focusable() && !takeFocusFromUser()) return;
  if (!acceptsInput()) return;
  setItemIndex(index);
  if (onChange) onChange();
}

ListBox::ListBox(Form& form, Control* parent, std::string name)
    : ListControl(form, parent, std::move(name)) {}

ComboBox::ComboBox(Form& form, Control* parent, std::string name)
    : ListControl(form, parent, std::move(name)) {}

void ComboBox::selectionChanged() {
  // An editable box keeps typed text when nothing is selected; a list shows exactly its selection.
  if (itemIndex() >= 0 || !editable_) Control::setText(item(itemIndex()));
}

void ComboBox::setText(const std::string& s) {
  const int index = indexOf(s);
  if (!editable_) {
    if (index >= 0) setItemIndex(index);
    return;
  }
  Control::setText(s);
  if (index != itemIndex()) setItemIndex(index);
}

void ComboBox::userSetText(const std::string& s) {
  if (!editable_ || !acceptsInput()) return;
  if (!takeFocusFromUser()) return;
  setText(s);
  if (onChange) onChange();
}

}  // namespace audiodsp
