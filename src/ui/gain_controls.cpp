#include "ui/gain_controls.h"

#include <algorithm>
#include <string>

#include "model/display_format.h"
#include "model/value_tables.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "ui/main_form.h"
#include "ui/numeric_field.h"

namespace audiodsp {

namespace {

constexpr int kLowOutput = 2;

// The field's text without its unit: " dB" as written back, or "dB" typed right after the number.
std::string withoutUnit(std::string text) {
  if (text.ends_with(" dB")) {
    text.resize(text.size() - 3);
  } else if (text.ends_with("dB")) {
    text.resize(text.size() - 2);
  }
  return text;
}

}  // namespace

GainControls::GainControls(MainForm& form)
    : form_(form),
      field_(form.form.add<Edit>("RzEdit17", form.c.RzGroupBox5)),
      spin_(form.form.add<SpinButtons>("SpinButton1", form.c.RzGroupBox5)) {
  knob_.fill(Point{kKnobX, 62});
  field_.setBounds(8, 274, 80, 22);
  field_.setText(formatDb(LevelTable[form.model.gain[0]]));
  spin_.setBounds(90, 274, 18, 22);

  field_.onEnter = [this] { form_.fieldSnapshot.take(field_.text()); };
  field_.onExit = [this] {
    form_.fieldSnapshot.arm();
    if (field_.text() != form_.fieldSnapshot.prevText) commit();
  };
  field_.onKeyPress = [this](char& key) {
    if (!passesKey(key, KeySet::Signed)) {
      key = 0;
      return;
    }
    if (key != kKeyEnter) return;
    // Enter commits whatever the field holds, even the text it had on entry.
    key = 0;
    commit();
  };
  spin_.onDownClick = [this] { step(-1); };
  spin_.onUpClick = [this] { step(+1); };

  Image& fader = *form.c.Image2;
  fader.onMouseDown = [this](MouseButton, int x, int y) { mouseDown(x, y); };
  fader.onMouseMove = [this](MouseButton, int, int y) { mouseMove(y); };
  fader.onMouseUp = [this](MouseButton, int, int) { mouseUp(); };
}

int GainControls::rowOfIndex(int index) {
  // (5 - L) * 179 / 25 + 26 with L = (index - 200) / 10, in integers: the product is never a whole
  // number short of an integer by a rounding error, so truncation matches the real-valued formula.
  const int i = std::clamp(index, 0, kLevelMaxIndex);
  return (kLevelMaxIndex - i) * (kBottomRow - kTopRow) / kLevelMaxIndex + kTopRow;
}

int GainControls::output() const {
  const int o = form_.currentOutput;
  return o >= 0 && o < kLevelOutputCount ? o : -1;
}

void GainControls::placeKnob(int output) {
  knob_[output].y = rowOfIndex(form_.model.gain[output]) - 5;
}

void GainControls::drawFader(int output, bool dragging) {
  Image& fader = *form_.c.Image2;
  Canvas canvas(*fader.picture());
  canvas.draw(0, 0, *form_.pictures.faderBackground);
  canvas.draw(kKnobX, knob_[output].y, dragging ? *form_.pictures.secondKnob : *form_.pictures.faderKnob);
  fader.repaint();
}

void GainControls::showLevel(int output) {
  field_.setText(formatDb(tableEntry(LevelTable, form_.model.gain[output])));
}

void GainControls::load(int output) {
  if (output < 0 || output >= kLevelOutputCount) return;
  placeKnob(output);
  drawFader(output, false);
  showLevel(output);
}

void GainControls::mouseDown(int x, int y) {
  const int o = output();
  if (o < 0) return;
  const Point k = knob_[o];
  if (!(k.x < x && x < k.x + kKnobWidth && k.y < y && y < k.y + kKnobHeight)) return;
  dragActive_ = true;
  drawFader(o, true);
}

void GainControls::mouseMove(int y) {
  const int o = output();
  if (!dragActive_ || o < 0) return;
  const int top = o == kLowOutput ? kLowTopRow : kTopRow;
  if (y >= top && y <= kBottomRow) {
    knob_[o].y = y - 5;
    drawFader(o, true);
    field_.setText(formatDb(faderLevel(y)));
    // The level is read back from the field, as shown, and taken only when it is a table entry.
    const std::string shown = field_.text();
    if (const auto value = parseDecimal(shown.substr(0, shown.size() - 3))) {
      for (int i = 0; i <= kLevelMaxIndex; ++i) {
        if (LevelTable[static_cast<size_t>(i)] == *value) {
          form_.model.gain[o] = i;
          break;
        }
      }
    }
  }
  // Every move of a drag rebuilds the block; the send table keeps only the latest build.
  form_.frames.buildOutput(o);
}

void GainControls::mouseUp() {
  const int o = output();
  if (!dragActive_) return;
  dragActive_ = false;
  if (o >= 0) drawFader(o, false);
}

void GainControls::step(int delta) {
  const int o = output();
  if (o < 0) return;
  int& index = form_.model.gain[o];
  if (delta < 0 ? index <= 0 : index >= form_.model.maxGainIndex(o)) return;
  index += delta;
  showLevel(o);
  placeKnob(o);
  drawFader(o, false);
  form_.frames.buildOutput(o);
}

void GainControls::commit() {
  const int o = output();
  if (o < 0) return;
  const auto typed = parseDecimal(withoutUnit(field_.text()));
  if (!typed) {
    field_.setText(form_.fieldSnapshot.prevText);
    return;
  }
  double value = *typed;
  const double top = o == kLowOutput ? 0.0 : 5.0;
  if (value > top) value = top;
  if (value < -20.0) value = -20.0;
  form_.model.gain[o] = NearestIndex(LevelTable, value);
  placeKnob(o);
  drawFader(o, false);
  showLevel(o);
  form_.frames.buildOutput(o);
  form_.fieldSnapshot.prevText = field_.text();
}

}  // namespace audiodsp
