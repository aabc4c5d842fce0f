#pragma once
// The output gain of High, Mid and Low: the fader picture Image2 with its draggable knob, the spin pair
// SpinButton1 and the committing field RzEdit17, all inside the gain pop-up RzGroupBox5. Each change
// stores the LevelTable index of the output being edited and rebuilds that output's block frame.
#include <array>

#include "platform/bitmap.h"

namespace audiodsp {

class MainForm;
class Edit;
class SpinButtons;

class GainControls {
 public:
  static constexpr int kKnobX = 73;
  static constexpr int kKnobWidth = 12;
  static constexpr int kKnobHeight = 13;
  static constexpr int kTopRow = 26;      // +5.0 dB
  static constexpr int kBottomRow = 205;  // -20.0 dB
  static constexpr int kLowTopRow = 62;   // Low stops at 0.0 dB

  explicit GainControls(MainForm& form);

  // The gain panel load for output 0..2: knob from the stored index, fader redrawn, level in the field.
  void load(int output);

  // FaderKnob of output 0..2: x is always 73, y the knob's top row.
  Point knob(int output) const { return knob_[output]; }
  bool dragActive() const { return dragActive_; }

  // Row of the fader for a LevelTable index: +5 dB is row 26, -20 dB row 205.
  static int rowOfIndex(int index);

 private:
  int output() const;  // CurrentOutput when it has a gain, else -1
  void placeKnob(int output);
  void drawFader(int output, bool dragging);
  void showLevel(int output);

  void mouseDown(int x, int y);
  void mouseMove(int y);
  void mouseUp();
  void step(int delta);
  void commit();

  MainForm& form_;
  Edit& field_;        // RzEdit17
  SpinButtons& spin_;  // SpinButton1
  std::array<Point, 3> knob_;
  bool dragActive_ = false;  // DragActive of the fader
};

}  // namespace audiodsp
