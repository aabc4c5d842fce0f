#include "platform/edit.h"

#include <algorithm>
#include <utility>

namespace audiodsp {

namespace {
// Length in bytes of the character that ends at pos (so backspace never splits a UTF-8 sequence).
size_t lastCharLength(const std::string& s, size_t pos) {
  size_t start = pos - 1;
  while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  return pos - start;
}

size_t charCount(const std::string& s) {
  return static_cast<size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
}  // namespace

Edit::Edit(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {
  setFocusable(true);
  setColor(colors::kWindow);
}

void Edit::setText(const std::string& s) {
  changeText(s, 0);
}

void Edit::setMaxLength(size_t n) {
  if (maxLength_ == n) return;
  maxLength_ = n;
  notify(Property::MaxLength);
}

void Edit::setReadOnly(bool on) {
  if (readOnly_ == on) return;
  readOnly_ = on;
  notify(Property::ReadOnly);
}

void Edit::setSelection(size_t start, size_t length) {
  start = std::min(start, text().size());
  length = std::min(length, text().size() - start);
  if (start == selStart_ && length == selLength_) return;
  selStart_ = start;
  selLength_ = length;
  notify(Property::Selection);
}

void Edit::changeText(const std::string& s, size_t caret) {
  const bool changed = s != text();
  if (changed) Control::setText(s);
  setSelection(caret, 0);
  if (changed && onChange) onChange();
}

void Edit::replaceSelection(const std::string& with) {
  std::string s = text();
  s.replace(selStart_, selLength_, with);
  changeText(s, selStart_ + with.size());
}

void Edit::userKey(char key) {
  if (!acceptsInput()) return;
  if (!focused() && !takeFocusFromUser()) return;
  if (onKeyPress) onKeyPress(key);
  // The handler may have dropped the key, or disabled the field (or its box).
  if (key == 0 || key == kKeyEnter || !acceptsInput() || readOnly_) return;
  if (key == kKeyBackspace) {
    if (selLength_ > 0) {
      replaceSelection({});
    } else if (selStart_ > 0) {
      const size_t n = lastCharLength(text(), selStart_);
      selStart_ -= n;
      selLength_ = n;
      replaceSelection({});
    }
    return;
  }
  if (static_cast<unsigned char>(key) < 32 || key == 127) return;
  // A typed character may not take the text over its limit.
  if (maxLength_ > 0 && charCount(text()) - charCount(selectedText()) >= maxLength_) return;
  replaceSelection(std::string(1, key));
}

void Edit::userType(const std::string& keys) {
  for (char c : keys) userKey(c);
}

void Edit::userSetText(const std::string& s) {
  if (!acceptsInput() || readOnly_) return;
  if (!focused() && !takeFocusFromUser()) return;
  std::string t = s;
  if (maxLength_ > 0 && charCount(t) > maxLength_) {
    size_t chars = 0;
    size_t end = 0;
    while (end < t.size()) {
      size_t next = end + 1;
      while (next < t.size() && (static_cast<unsigned char>(t[next]) & 0xC0) == 0x80) ++next;
      if (++chars > maxLength_) break;
      end = next;
    }
    t.resize(end);
  }
  changeText(t, t.size());
}

void Edit::userClickAt(size_t pos) {
  if (!acceptsInput()) return;
  if (!focused() && !takeFocusFromUser()) return;
  if (!acceptsInput()) return;
  setCaret(pos);
  if (onClick) onClick();
}

}  // namespace audiodsp
