#include "ui/level_controls.h"

#include <vector>

#include "model/display_format.h"
#include "model/value_tables.h"
#include "platform/controls.h"
#include "ui/main_form.h"
#include "ui/numeric_field.h"

namespace audiodsp {

namespace {

constexpr Color kMutedColor = colorFromValue(255);          // red
constexpr Color kSoundingColor = colorFromValue(14737632);  // light grey
constexpr int kThresholdItems = kTempMaxIndex + 1;

enum LimiterField { kThreshold, kAttack, kRelease };

template <size_t N>
std::vector<std::string> itemsOf(const std::array<std::string_view, N>& names) {
  return {names.begin(), names.end()};
}

}  // namespace

std::string LevelControls::thresholdItem(int index) {
  if (index <= 0) return ">=70 °C";
  return std::to_string(70 - 2 * std::min(index, kTempMaxIndex)) + " °C";
}

LevelControls::LevelControls(MainForm& form)
    : form_(form),
      gain_(std::make_unique<GainControls>(form)),
      delaySlider_(form.form.add<ScrollBar>("ScrollBar1", form.c.RzGroupBox6)),
      delayText_(form.form.add<Edit>("RzEdit18", form.c.RzGroupBox6)),
      delayMetres_(form.form.add<Label>("RzLabel3", form.c.RzGroupBox6)),
      delayFeet_(form.form.add<Label>("RzLabel20", form.c.RzGroupBox6)),
      threshold_(form.form.add<ComboBox>("RzComboBox9", form.c.RzGroupBox13)) {
  Form& f = form.form;
  FormControls& c = form.c;

  // ---- delay pop-up
  delaySlider_.setBounds(10, 28, 280, 20);
  delaySlider_.setRange(0, kDelayMaxSteps);
  delayText_.setBounds(10, 60, 90, 22);
  delayMetres_.setBounds(110, 64, 80, 16);
  delayFeet_.setBounds(200, 64, 80, 16);
  showDelay(0);
  delaySlider_.onChange = [this] { delayChanged(); };
  delayText_.onEnter = [this] { form_.fieldSnapshot.take(delayText_.text()); };
  delayText_.onExit = [this] {
    form_.fieldSnapshot.arm();
    delayText_.setText(form_.fieldSnapshot.prevText);
  };
  delayText_.onKeyPress = [this](char& key) {
    if (!passesKey(key, KeySet::Unsigned)) {
      key = 0;
      return;
    }
    if (key != kKeyEnter) return;
    // The text only shows the slider's delay: whatever was typed gives way to the snapshot.
    key = 0;
    delayText_.setText(form_.fieldSnapshot.prevText);
  };

  // ---- limiter pop-up
  const char* limiterNames[3] = {"RzComboBox2", "RzComboBox3", "RzComboBox5"};
  const char* limiterCaptions[3] = {"Threshold", "Attack", "Release"};
  const char* captionNames[3] = {"LimiterThresholdLabel", "LimiterAttackLabel", "LimiterReleaseLabel"};
  const std::vector<std::string> limiterItems[3] = {itemsOf(LimiterThresholdList), itemsOf(LimiterAttackList),
                                                    itemsOf(LimiterReleaseList)};
  for (int k = 0; k < 3; ++k) {
    const int top = 30 + 32 * k;
    Label& caption = f.add<Label>(captionNames[k], c.RzGroupBox7);
    caption.setBounds(10, top + 4, 70, 16);
    caption.setCaption(limiterCaptions[k]);
    ComboBox& list = f.add<ComboBox>(limiterNames[k], c.RzGroupBox7);
    list.setBounds(90, top, 130, 21);
    list.setItems(limiterItems[k]);
    list.setItemIndex(0);
    list.onChange = [this, k, &list] { limiterChanged(k, list.itemIndex()); };
    limiterLists_[static_cast<size_t>(k)] = &list;
  }

  // ---- temperature panel
  c.RzGroupBox13->setCaption("temperature set ");
  threshold_.setBounds(20, 36, 120, 21);
  std::vector<std::string> thresholds;
  for (int i = 0; i < kThresholdItems; ++i) thresholds.push_back(thresholdItem(i));
  threshold_.setItems(std::move(thresholds));
  // Until the device reports its threshold the list shows the lowest one.
  threshold_.setItemIndex(kTempMaxIndex);
  threshold_.onChange = [this] { thresholdChanged(); };

  // ---- the rows of the channel panel
  muteButtons_ = {c.RzButton46, c.RzButton52, c.RzButton58};
  polarityButtons_ = {c.RzButton1, c.RzButton2, c.RzButton3, c.RzButton6};
  for (int o = 0; o < kLevelOutputCount; ++o) {
    muteButtons_[static_cast<size_t>(o)]->onClick = [this, o] { toggleMute(o); };
  }
  for (int o = 0; o < kOutputCount; ++o) {
    polarityButtons_[static_cast<size_t>(o)]->onClick = [this, o] { togglePolarity(o); };
  }
  c.TrackBar1->onChange = [this] { volumeChanged(); };
  form.panelLoaders.levelPanel = [this](int panel, int output) { loadPanel(panel, output); };
}

LevelControls::~LevelControls() = default;

void LevelControls::loadPanel(int panel, int output) {
  switch (panel) {
    case kLimiterPanel:
      loadLimiter(output);
      break;
    case kDelayPanel:
      loadDelay(output);
      break;
    case kGainPanel:
      gain_->load(output);
      break;
    default:
      break;
  }
}

void LevelControls::buildFrame(int output) {
  form_.frames.buildOutput(output);
}

void LevelControls::showDelay(int steps) {
  delayText_.setText(formatMs(delayMs(steps)));
  delayMetres_.setCaption(formatMetres(delayMetres(steps)));
  delayFeet_.setCaption(formatFeet(delayFeet(steps)));
}

void LevelControls::loadDelay(int output) {
  if (output < 0 || output >= kOutputCount) return;
  const int steps = form_.model.delaySliderPosition(output);
  form_.sliderGuard = true;
  delaySlider_.setPosition(steps);
  showDelay(steps);
  form_.sliderGuard = false;
}

void LevelControls::delayChanged() {
  const int o = form_.currentOutput;
  if (form_.sliderGuard || o < 0 || o >= kOutputCount) return;
  form_.model.delay[static_cast<size_t>(o)] = delaySlider_.position();
  showDelay(delaySlider_.position());
  buildFrame(o);
}

void LevelControls::loadLimiter(int output) {
  if (output < 0 || output >= kLevelOutputCount) return;
  const ParamModel& m = form_.model;
  const int values[3] = {m.limiterThreshold[output], m.limiterAttack[output], m.limiterRelease[output]};
  for (int k = 0; k < 3; ++k) {
    ComboBox& list = *limiterLists_[static_cast<size_t>(k)];
    list.setItemIndex(listItem(values[k], static_cast<size_t>(list.itemCount())));
  }
}

void LevelControls::limiterChanged(int field, int index) {
  const int o = form_.currentOutput;
  if (o < 0 || o >= kLevelOutputCount || index < 0) return;
  ParamModel& m = form_.model;
  auto& values = field == kThreshold ? m.limiterThreshold
                 : field == kAttack  ? m.limiterAttack
                                     : m.limiterRelease;
  values[static_cast<size_t>(o)] = index;
  form_.frames.buildLimiter(o);
}

void LevelControls::toggleMute(int output) {
  int& on = form_.model.on[static_cast<size_t>(output)];
  on = on == 0 ? 1 : 0;
  muteButtons_[static_cast<size_t>(output)]->setColor(on == 0 ? kMutedColor : kSoundingColor);
  buildFrame(output);
}

void LevelControls::togglePolarity(int output) {
  int& polarity = form_.model.polarity[static_cast<size_t>(output)];
  polarity = polarity == 0 ? 1 : 0;
  polarityButtons_[static_cast<size_t>(output)]->setCaption(polarity == 1 ? "-" : "+");
  buildFrame(output);
}

void LevelControls::volumeChanged() {
  if (form_.sliderGuard) return;
  const int position = form_.c.TrackBar1->position();
  form_.model.masterVolume = position;
  form_.c.Label1->setCaption(formatMasterVolume(position));
  form_.frames.buildMain();
}

void LevelControls::thresholdChanged() {
  const int index = threshold_.itemIndex();
  if (index < 0) return;
  form_.systemBlock.threshold = static_cast<uint8_t>(index);
  // Byte 3 carries the device the selector shows; the block keeps it as the device's own number.
  form_.systemBlock.deviceNumber = static_cast<uint8_t>(form_.displayedDeviceId);
  form_.frames.buildSystem();
}

}  // namespace audiodsp
