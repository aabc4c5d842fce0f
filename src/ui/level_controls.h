#pragma once
// The per-output level editors and the two device-wide settings beside them: output gain (see
// gain_controls.h), mute and polarity of every row, the delay slider with its readouts, the limiter
// lists, the master volume slider TrackBar1 and the temperature threshold list RzComboBox9.
//
// Every change is stored in the model and the block that holds it is rebuilt at once; while no port is
// open the builders queue nothing, so offline edits change only the window.
#include <array>
#include <memory>
#include <string>

#include "ui/gain_controls.h"
#include "ui/main_form.h"

namespace audiodsp {

class LevelControls : public FormPart {
 public:
  explicit LevelControls(MainForm& form);
  ~LevelControls() override;

  // The panel loads of the selection: 1 limiter (outputs 0..2), 2 delay (0..3), 3 gain (0..2).
  void loadPanel(int panel, int output);

  const GainControls& gain() const { return *gain_; }

  // Items of the temperature threshold list: entry i is 70 - 2i degrees, the first ">=70 °C".
  static std::string thresholdItem(int index);

 private:
  void buildFrame(int output);  // the output block of High, Mid, Low; the Main block for Main
  void showDelay(int steps);
  void delayChanged();
  void loadDelay(int output);
  void loadLimiter(int output);
  void limiterChanged(int field, int index);
  void toggleMute(int output);
  void togglePolarity(int output);
  void volumeChanged();
  void thresholdChanged();

  MainForm& form_;
  std::unique_ptr<GainControls> gain_;
  // delay pop-up RzGroupBox6
  ScrollBar& delaySlider_;  // ScrollBar1, 0..412 steps of 0.021 ms
  Edit& delayText_;         // RzEdit18: shows the delay, typing never changes it
  Label& delayMetres_;      // RzLabel3
  Label& delayFeet_;        // RzLabel20
  // limiter pop-up RzGroupBox7: threshold, attack, release
  std::array<ComboBox*, 3> limiterLists_{};  // RzComboBox2, RzComboBox3, RzComboBox5
  // temperature panel RzGroupBox13
  ComboBox& threshold_;                       // RzComboBox9
  std::array<Button*, 3> muteButtons_{};      // RzButton46, RzButton52, RzButton58
  std::array<Button*, 4> polarityButtons_{};  // RzButton1, RzButton2, RzButton3, RzButton6
};

}  // namespace audiodsp
