#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/text_renderer.h"  // Font

namespace audiodsp {

class Control;
class Form;

// The properties a control reports to its observer when they change.
enum class Property {
  Visible,
  Enabled,
  Geometry,
  Text,  // caption or text (the same window text)
  Color,
  Font,
  Hint,
  Items,      // list items
  ItemIndex,  // list selection
  Selection,  // edit selection and caret
  Range,      // min and max of scroll and track bars
  Position,   // position of scroll and track bars
  Lines,      // memo lines
  Percent,    // progress bar
  Panels,     // status bar panels
  Picture,    // image content (the bitmap was replaced or drawn on)
  Focus,      // reported by the form: the focused control changed
  ReadOnly,
  MaxLength,
};

// One observer per control (the front-end's widget peer): "property p of control c changed". Setters
// report only real changes.
class ControlObserver {
 public:
  virtual ~ControlObserver();
  virtual void changed(Control& control, Property property) = 0;
};

// A control of a form: a plain object with the state of a window-system control and the events the
// program's handlers hook. Programmatic setters change state and notify the observer; the user* entry
// points stand for what the operator does (tests call them, and so do the front-end's peers). User
// input is ignored while the control or any ancestor is hidden or disabled.
//
// Controls are made and owned by their Form (Form::add) and live as long as it.
class Control {
 public:
  Control(Form& form, Control* parent, std::string name);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  const std::string& name() const { return name_; }
  Form& form() const { return form_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  // True when ancestor is this control or one of its ancestors.
  bool isInside(const Control& ancestor) const;

  bool visible() const { return visible_; }
  void setVisible(bool on);
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  // Visible and all ancestors visible: the control can be seen on screen.
  bool showing() const;

  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  // Showing, and enabled together with all its ancestors: the operator can reach it.
  bool acceptsInput() const;

  // Position in the parent and size, in pixels (the rectangle's right and bottom lie outside).
  const Rect& geometry() const { return geometry_; }
  void setGeometry(const Rect& r);
  void setBounds(int left, int top, int width, int height) {
    setGeometry({left, top, left + width, top + height});
  }
  void moveTo(int left, int top) { setBounds(left, top, width(), height()); }
  void resize(int width, int height) { setBounds(left(), top(), width, height); }
  int left() const { return geometry_.left; }
  int top() const { return geometry_.top; }
  int width() const { return geometry_.width(); }
  int height() const { return geometry_.height(); }
  void setLeft(int v) { moveTo(v, top()); }
  void setTop(int v) { moveTo(left(), v); }

  // Caption and text are the same window text; buttons, labels and boxes call it caption, edits text.
  const std::string& caption() const { return text_; }
  void setCaption(const std::string& s) { setText(s); }
  const std::string& text() const { return text_; }
  virtual void setText(const std::string& s);

  Color color() const { return color_; }
  void setColor(Color c);
  const Font& font() const { return font_; }
  void setFont(const Font& f);
  Color fontColor() const { return font_.color; }
  void setFontColor(Color c);
  const std::string& hint() const { return hint_; }
  void setHint(const std::string& s);

  // Whether clicking the control gives it the keyboard focus (edits, lists, buttons and bars do; labels,
  // boxes, images and spin buttons do not). May be changed per control, like a tab stop.
  bool focusable() const { return focusable_; }
  void setFocusable(bool on) { focusable_ = on; }
  bool focused() const;

  std::function<void()> onClick;
  std::function<void()> onEnter;  // the control received the focus
  std::function<void()> onExit;   // the control lost the focus

  // The operator clicks the control: a focusable control takes the focus first (so the old control's
  // exit handler runs before the click), then onClick runs if the control still accepts input.
  virtual void userClick();

  ControlObserver* observer() const { return observer_; }
  void setObserver(ControlObserver* o) { observer_ = o; }

 protected:
  void notify(Property p);
  // Takes the focus on the operator's behalf; false when the control cannot have it.
  bool takeFocusFromUser();
  void setTextSilently(const std::string& s) { text_ = s; }

 private:
  Form& form_;
  Control* parent_;
  std::string name_;
  std::vector<Control*> children_;
  bool visible_ = true;
  bool enabled_ = true;
  bool focusable_ = false;
  Rect geometry_;
  std::string text_;
  Color color_ = colors::kButtonFace;
  Font font_;
  std::string hint_;
  ControlObserver* observer_ = nullptr;
};

}  // namespace audiodsp
