#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/control.h"

namespace audiodsp {

// Key codes that reach key-press handlers.
inline constexpr char kKeyBackspace = 8;
inline constexpr char kKeyEnter = 13;

// A one-line text field. Typed characters first go to onKeyPress, which may change the key or drop it
// (set it to 0); what is left edits the text at the caret: backspace deletes, Enter inserts nothing
// (only the handler sees it), other control characters are ignored, printable ones replace the
// selection. onChange runs whenever the text changes, by typing or from code.
class Edit : public Control {
 public:
  Edit(Form& form, Control* parent, std::string name);

  // Setting the text from code puts the caret at the start with nothing selected.
  void setText(const std::string& s) override;

  // Typing stops at maxLength characters (0: no limit); text set from code is not limited.
  size_t maxLength() const { return maxLength_; }
  void setMaxLength(size_t n);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool on);

  // Selection in bytes of the text; the caret stands at its end.
  size_t selStart() const { return selStart_; }
  size_t selLength() const { return selLength_; }
  std::string selectedText() const { return text().substr(selStart_, selLength_); }
  void setSelection(size_t start, size_t length);
  void selectAll() { setSelection(0, text().size()); }
  void setCaret(size_t pos) { setSelection(pos, 0); }
  size_t caret() const { return selStart_ + selLength_; }

  std::function<void()> onChange;
  std::function<void(char& key)> onKeyPress;

  // The operator types one character (or a string, one character at a time). A field without the
  // focus gets it first, as the operator has to click into it to type.
  void userKey(char key);
  void userType(const std::string& keys);
  // The operator replaces the whole text (pasting over a select-all); no key filter, as with pasting.
  void userSetText(const std::string& s);
  // The operator clicks into the text at a character position: focus, caret, then onClick.
  void userClickAt(size_t pos);
  void userClick() override { userClickAt(text().size()); }

 private:
  void replaceSelection(const std::string& with);
  void changeText(const std::string& s, size_t caret);

  size_t maxLength_ = 0;
  bool readOnly_ = false;
  size_t selStart_ = 0;
  size_t selLength_ = 0;
};

}  // namespace audiodsp
