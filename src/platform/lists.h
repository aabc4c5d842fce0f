#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/control.h"

namespace audiodsp {

// A control holding a list of texts with one selected item (-1 for none). Selecting from code never
// runs onChange (handlers rely on that); the operator's selection always does.
class ListControl : public Control {
 public:
  ListControl(Form& form, Control* parent, std::string name);

  const std::vector<std::string>& items() const { return items_; }
  int itemCount() const { return static_cast<int>(items_.size()); }
  // The item at index, or an empty text outside the list.
  std::string item(int index) const;
  int indexOf(const std::string& s) const;

  // Replacing or clearing the items drops the selection.
  void setItems(std::vector<std::string> items);
  void clearItems() { setItems({}); }
  void addItem(std::string s);
  // Replaces the text of one item and keeps the selection where it is; ignored outside the list.
  void setItem(int index, std::string s);

  int itemIndex() const { return itemIndex_; }
  // From code, without onChange. An index outside the list selects nothing (-1).
  void setItemIndex(int index);

  std::function<void()> onChange;

  // The operator picks an item; ignored outside the list. Runs onChange even for the item already
  // selected, as picking it from the drop-down does.
  void userSelect(int index);

 protected:
  virtual void selectionChanged() {}

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// A list box without a text field (also serves as a plain, possibly hidden, list of texts).
class ListBox : public ListControl {
 public:
  ListBox(Form& form, Control* parent, std::string name);
};

// A drop-down list. In the default style (a list without typing) the text is the selected item; an
// editable combo box also takes typed text, which selects the item it equals, if any.
class ComboBox : public ListControl {
 public:
  ComboBox(Form& form, Control* parent, std::string name);

  bool editable() const { return editable_; }
  void setEditable(bool on) { editable_ = on; }

  // Editable: sets the text and selects the item it equals (else none). List style: selects the item
  // the text equals, if any; other texts are ignored. Never runs onChange.
  void setText(const std::string& s) override;
  // Editable only: the operator types a whole text; runs onChange.
  void userSetText(const std::string& s);

 protected:
  void selectionChanged() override;

 private:
  bool editable_ = false;
};

}  // namespace audiodsp
