// The level editors driven through their controls: the gain fader, spin and field, the delay slider and
// its display-only text, the limiter lists, mute and polarity of the rows, the master volume and the
// temperature threshold. Offline cases watch the texts and the model; with the link open they watch the
// frames the send table holds; the end-to-end cases watch the simulator's current group.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "level_fixture.h"
#include "model/value_tables.h"
#include "platform/controls.h"
#include "ui/gain_controls.h"
#include "ui/level_controls.h"

namespace audiodsp {
namespace {

class LevelsTest : public testing::LevelFormTest {
 protected:
  Edit& gainField() { return f().get<Edit>("RzEdit17"); }
  SpinButtons& gainSpin() { return f().get<SpinButtons>("SpinButton1"); }
  Edit& delayText() { return f().get<Edit>("RzEdit18"); }
  ScrollBar& delaySlider() { return f().get<ScrollBar>("ScrollBar1"); }
  const GainControls& gain() { return f().part<LevelControls>()->gain(); }
};

TEST_F(LevelsTest, GainFieldSnapsClampsAndRejects) {
  struct Case {
    int output;
    const char* button;
    const char* typed;
    const char* shown;
    int index;
  };
  const Case cases[] = {
      {0, "RzButton45", "3.47 dB", "3.5 dB", 235},  // nearer to 3.5 than to 3.4
      {0, "RzButton45", "7", "5.0 dB", 250},
      {2, "RzButton57", "7", "0.0 dB", 200},  // Low tops out at 0 dB
      {1, "RzButton51", "-25", "-20.0 dB", 0},
      {1, "RzButton51", "-3.25dB", "-3.3 dB", 167},  // "dB" typed without the blank
      {2, "RzButton57", "-0.05", "-0.1 dB", 199},    // a tie goes to the lower entry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    button(c.button).userClick();
    typeInto(gainField(), c.typed);
    leave();
    EXPECT_EQ(gainField().text(), c.shown);
    EXPECT_EQ(f().model.gain[c.output], c.index);
    EXPECT_EQ(gain().knob(c.output).y, GainControls::rowOfIndex(c.index) - 5);
  }
}

TEST_F(LevelsTest, UnreadableGainReturnsToTheSnapshot) {
  openLink();
  button("RzButton45").userClick();
  const std::string before = gainField().text();
  for (const char* pasted : {"abc", "", "dB", "1.2.3", "-"}) {
    SCOPED_TRACE(pasted);
    gainField().userClick();
    gainField().userSetText(pasted);
    leave();
    EXPECT_EQ(gainField().text(), before);
    EXPECT_EQ(f().model.gain[0], 120);
    EXPECT_FALSE(pending(1));
  }
}

TEST_F(LevelsTest, GainKeyFilterAndEnterCommits) {
  openLink();
  button("RzButton45").userClick();
  typeInto(gainField(), "x-1a.5 ");
  EXPECT_EQ(gainField().text(), "-1.5");
  gainField().userKey(kKeyEnter);
  EXPECT_EQ(gainField().text(), "-1.5 dB");
  EXPECT_EQ(f().model.gain[0], 185);
  ASSERT_TRUE(pending(1));
  EXPECT_EQ(slot(1), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x08,
                            0xB9, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x11, 0xAA}));
  // A second Enter builds again though nothing changed; leaving the unchanged field builds nothing.
  f().sendTable.clearAll();
  gainField().userKey(kKeyEnter);
  EXPECT_TRUE(pending(1));
  f().sendTable.clearAll();
  leave();
  EXPECT_FALSE(pending(1));
}

TEST_F(LevelsTest, FaderDragFollowsTheRowsAndTheLowLimit) {
  openLink();
  struct Case {
    const char* button;
    int output;
    int row;
    const char* shown;
    int index;
  };
  const Case cases[] = {
      {"RzButton45", 0, 27, "4.8 dB", 248},  {"RzButton45", 0, 61, "0.1 dB", 201},
      {"RzButton51", 1, 26, "5.0 dB", 250},  {"RzButton57", 2, 62, "0.0 dB", 200},
      {"RzButton57", 2, 205, "-20.0 dB", 0},
  };
  Image& fader = *f().c.Image2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    button(c.button).userClick();
    const Point k = gain().knob(c.output);
    fader.userMouseDown(MouseButton::Left, k.x + 6, k.y + 6);
    ASSERT_TRUE(gain().dragActive());
    f().sendTable.clearAll();
    fader.userMouseMove(MouseButton::Left, k.x + 6, c.row);
    EXPECT_EQ(gainField().text(), c.shown);
    EXPECT_EQ(f().model.gain[c.output], c.index);
    EXPECT_EQ(gain().knob(c.output).y, c.row - 5);
    EXPECT_TRUE(pending(1 + 3 * c.output));
    fader.userMouseUp(MouseButton::Left, k.x + 6, c.row);
    EXPECT_FALSE(gain().dragActive());
  }
}

TEST_F(LevelsTest, FaderIgnoresPressesBesideTheKnobAndRowsOutOfRange) {
  openLink();
  button("RzButton57").userClick();  // Low
  Image& fader = *f().c.Image2;
  const Point k = gain().knob(2);
  // The knob's edges do not count.
  fader.userMouseDown(MouseButton::Left, k.x, k.y + 6);
  EXPECT_FALSE(gain().dragActive());
  fader.userMouseDown(MouseButton::Left, k.x + 6, k.y + 13);
  EXPECT_FALSE(gain().dragActive());
  fader.userMouseMove(MouseButton::Left, k.x + 6, 100);
  EXPECT_EQ(f().model.gain[2], 120);
  EXPECT_FALSE(pending(7));
  // Above 0 dB on Low: the knob and gain stay, the block is still rebuilt.
  fader.userMouseDown(MouseButton::Left, k.x + 1, k.y + 1);
  ASSERT_TRUE(gain().dragActive());
  fader.userMouseMove(MouseButton::Left, k.x + 6, 40);
  EXPECT_EQ(gain().knob(2), k);
  EXPECT_EQ(f().model.gain[2], 120);
  EXPECT_EQ(gainField().text(), "-8.0 dB");
  EXPECT_TRUE(pending(7));
}

TEST_F(LevelsTest, GainSpinStepsAndStopsAtTheEnds) {
  struct Case {
    const char* button;
    int output;
    int start;
    bool up;
    int index;
    const char* shown;
  };
  const Case cases[] = {
      {"RzButton45", 0, 120, true, 121, "-7.9 dB"}, {"RzButton45", 0, 250, true, 250, nullptr},
      {"RzButton57", 2, 200, true, 200, nullptr},   {"RzButton57", 2, 199, true, 200, "0.0 dB"},
      {"RzButton51", 1, 0, false, 0, nullptr},      {"RzButton51", 1, 1, false, 0, "-20.0 dB"},
  };
  openLink();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.button << " " << c.start);
    f().model.gain[c.output] = c.start;
    button(c.button).userClick();
    const std::string before = gainField().text();
    f().sendTable.clearAll();
    c.up ? gainSpin().userClickUp() : gainSpin().userClickDown();
    EXPECT_EQ(f().model.gain[c.output], c.index);
    EXPECT_EQ(gainField().text(), c.shown ? c.shown : before);
    EXPECT_EQ(pending(1 + 3 * c.output), c.shown != nullptr);
    EXPECT_EQ(gain().knob(c.output).y, GainControls::rowOfIndex(c.index) - 5);
  }
}

TEST_F(LevelsTest, FaderRowsOfTheLevels) {
  EXPECT_EQ(GainControls::rowOfIndex(250), 26);
  EXPECT_EQ(GainControls::rowOfIndex(0), 205);
  EXPECT_EQ(GainControls::rowOfIndex(200), 61);   // 35.8 + 26, truncated
  EXPECT_EQ(GainControls::rowOfIndex(120), 119);  // -8 dB: 93.08 + 26
}

TEST_F(LevelsTest, DelaySliderShowsThreeUnitsAndTheTextOnlyDisplays) {
  openLink();
  button("RzButton44").userClick();  // High delay
  delaySlider().userSetPosition(412);
  EXPECT_EQ(delayText().text(), "8.652 Ms");
  EXPECT_EQ(f().get<Label>("RzLabel3").caption(), "2.980 Mm");
  EXPECT_EQ(f().get<Label>("RzLabel20").caption(), "9.777 Ft");
  EXPECT_EQ(f().model.delay[0], 412);
  EXPECT_EQ(slot(1), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x08,
                            0x78, 0x01, 0x9C, 0x01, 0x00, 0x00, 0x00, 0x00, 0x4D, 0xAA}));
  f().sendTable.clearAll();
  typeInto(delayText(), "5x");
  EXPECT_EQ(delayText().text(), "5");
  delayText().userKey(kKeyEnter);
  EXPECT_EQ(delayText().text(), "8.652 Ms");
  typeInto(delayText(), "7");
  leave();
  EXPECT_EQ(delayText().text(), "8.652 Ms");
  EXPECT_EQ(f().model.delay[0], 412);
  EXPECT_FALSE(pending(1));
}

TEST_F(LevelsTest, MainDelayGoesIntoTheMainBlockAndPanelLoadsSendNothing) {
  openLink();
  f().model.delay[1] = 100;
  button("RzButton50").userClick();  // Mid delay: loading moves the slider but stores nothing
  EXPECT_EQ(delaySlider().position(), 100);
  EXPECT_EQ(delayText().text(), "2.100 Ms");
  EXPECT_EQ(f().sendTable.lowestPending(), 0);
  button("RzButton5").userClick();  // Main delay
  EXPECT_EQ(delaySlider().position(), 0);
  EXPECT_EQ(f().model.delay[1], 100);
  delaySlider().userSetPosition(300);
  EXPECT_EQ(f().model.delay[3], 300);
  EXPECT_EQ(f().sendTable.lowestPending(), 28);
  EXPECT_EQ(slot(28), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x03, 0x00, 0x00, 0x08,
                             0x00, 0x00, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x87, 0xAA}));
}

TEST_F(LevelsTest, MuteAndPolarityToggleTheirOwnRow) {
  openLink();
  struct Case {
    const char* name;
    int slot;
  };
  for (const Case& c : {Case{"RzButton46", 1}, Case{"RzButton52", 4}, Case{"RzButton58", 7}}) {
    SCOPED_TRACE(c.name);
    const int o = (c.slot - 1) / 3;
    button(c.name).userClick();
    EXPECT_EQ(f().model.on[o], 0);
    EXPECT_EQ(colorValue(button(c.name).color()), 255u);
    EXPECT_EQ(slot(c.slot)[11], 0x00);
    f().sendTable.clearAll();
    button(c.name).userClick();
    EXPECT_EQ(f().model.on[o], 1);
    EXPECT_EQ(colorValue(button(c.name).color()), 14737632u);
    EXPECT_TRUE(pending(c.slot));
    EXPECT_EQ(slot(c.slot)[11], 0x01);
  }
  f().sendTable.clearAll();
  for (const Case& c :
       {Case{"RzButton1", 1}, Case{"RzButton2", 4}, Case{"RzButton3", 7}, Case{"RzButton6", 28}}) {
    SCOPED_TRACE(c.name);
    button(c.name).userClick();
    EXPECT_EQ(button(c.name).caption(), "-");
    EXPECT_TRUE(pending(c.slot));
    EXPECT_EQ(slot(c.slot)[c.slot == 28 ? 16 : 14], 0x01);
    button(c.name).userClick();
    EXPECT_EQ(button(c.name).caption(), "+");
    EXPECT_EQ(slot(c.slot)[c.slot == 28 ? 16 : 14], 0x00);
  }
  EXPECT_EQ(f().model.polarity, (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(LevelsTest, MasterVolumeLabelAndMainBlock) {
  openLink();
  TrackBar& volume = *f().c.TrackBar1;
  struct Case {
    int position;
    const char* label;
  };
  for (const Case& c : {Case{1, "-60.0 dB"}, Case{0, "Mute"}, Case{2, "-59.8 dB"}, Case{301, "0.0 dB"}}) {
    SCOPED_TRACE(c.position);
    f().sendTable.clearAll();
    volume.userSetPosition(c.position);
    EXPECT_EQ(f().c.Label1->caption(), c.label);
    EXPECT_TRUE(pending(28));
    EXPECT_EQ(slot(28)[12], c.position & 0xFF);
    EXPECT_EQ(slot(28)[13], c.position >> 8);
  }
  EXPECT_EQ(slot(28), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x03, 0x00, 0x00, 0x08,
                             0x00, 0x00, 0x2D, 0x01, 0x00, 0x00, 0x00, 0x00, 0x86, 0xAA}));
  // Moved by the program under the guard: no label change, no frame.
  f().sendTable.clearAll();
  f().sliderGuard = true;
  volume.setPosition(5);
  f().sliderGuard = false;
  EXPECT_EQ(f().c.Label1->caption(), "0.0 dB");
  EXPECT_FALSE(pending(28));
}

TEST_F(LevelsTest, LimiterListsLoadAndStoreTheirOutput) {
  openLink();
  ComboBox& threshold = f().get<ComboBox>("RzComboBox2");
  ComboBox& attack = f().get<ComboBox>("RzComboBox3");
  ComboBox& release = f().get<ComboBox>("RzComboBox5");
  EXPECT_EQ(threshold.item(0), "-19dBu");
  EXPECT_EQ(attack.item(0), "0.5 ms");
  EXPECT_EQ(release.item(6), "5000ms");
  f().model.limiterAttack[2] = 4;
  button("RzButton55").userClick();  // Low limiter
  EXPECT_EQ(attack.itemIndex(), 4);
  EXPECT_EQ(f().sendTable.lowestPending(), 0);
  threshold.userSelect(19);
  release.userSelect(2);
  EXPECT_EQ(f().model.limiterThreshold, (std::array<int, 3>{0, 0, 19}));
  EXPECT_EQ(f().model.limiterRelease, (std::array<int, 3>{0, 0, 2}));
  EXPECT_EQ(f().sendTable.lowestPending(), 9);
  EXPECT_EQ(slot(9), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x02, 0x02, 0x00, 0x08,
                            0x13, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBC, 0xAA}));
  button("RzButton43").userClick();  // High limiter shows High's values
  EXPECT_EQ(threshold.itemIndex(), 0);
  EXPECT_EQ(attack.itemIndex(), 0);
}

TEST_F(LevelsTest, TemperatureThresholdListReplyAndFrame) {
  ComboBox& list = f().get<ComboBox>("RzComboBox9");
  ASSERT_EQ(list.itemCount(), 31);
  EXPECT_EQ(list.item(0), ">=70 °C");
  EXPECT_EQ(list.item(1), "68 °C");
  EXPECT_EQ(list.item(29), "12 °C");
  EXPECT_EQ(list.item(30), "10 °C");
  EXPECT_EQ(list.itemIndex(), 30);
  openLink();
  button("RzButton11").userClick();  // "Temp set"
  list.userSelect(5);
  EXPECT_EQ(f().systemBlock.threshold, 5);
  ASSERT_TRUE(pending(29));
  EXPECT_EQ(slot(29), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x21, 0x00, 0x00, 0x08,
                             0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x8C, 0xAA}));
  f().dispatcher.handlers.systemBlock(3, 0x11, 0x22, 12);
  EXPECT_EQ(list.itemIndex(), 12);
  EXPECT_EQ(f().systemBlock.threshold, 12);
  EXPECT_EQ(f().systemBlock.lastPreset, 3);
}

// One edit after another against the simulated device: each changes exactly its own block of the
// device's current group, and its frame goes out 200..210 ms after the edit (the send timer's next
// tick, then the write timer).
TEST_F(LevelsTest, EachEditChangesItsOwnBlockOfTheDevice) {
  struct Case {
    const char* name;
    std::function<void()> edit;
    size_t offset;
    Bytes block;
  };
  const Case cases[] = {
      {"High mute", [&] { button("RzButton46").userClick(); }, 0, {0x78, 0, 0, 0, 0, 0, 0, 0}},
      {"High gain field",
       [&] {
         button("RzButton45").userClick();
         typeInto(gainField(), "-1.5");
         gainField().userKey(kKeyEnter);
       },
       0,
       {0xB9, 0, 0, 0, 0, 0, 0, 0}},
      {"Mid gain spin",
       [&] {
         button("RzButton51").userClick();
         gainSpin().userClickUp();
       },
       72,
       {0x79, 1, 0, 0, 0, 0, 0, 0}},
      {"Low delay",
       [&] {
         button("RzButton56").userClick();
         delaySlider().userSetPosition(300);
       },
       144,
       {0x78, 1, 0x2C, 0x01, 0, 0, 0, 0}},
      {"Low polarity", [&] { button("RzButton3").userClick(); }, 144, {0x78, 1, 0x2C, 0x01, 1, 0, 0, 0}},
      {"High limiter attack",
       [&] {
         button("RzButton43").userClick();
         get<ComboBox>("RzComboBox3").userSelect(3);
       },
       16,
       {0, 3, 0, 0, 0, 0, 0, 0}},
      {"master volume", [&] { f().c.TrackBar1->userSetPosition(150); }, 216, {0, 0, 0x96, 0, 0, 0, 0, 0}},
      {"Main polarity", [&] { button("RzButton6").userClick(); }, 216, {0, 0, 0x96, 0, 0, 0, 1, 0}},
      {"Main delay",
       [&] {
         button("RzButton5").userClick();
         delaySlider().userSetPosition(412);
       },
       216,
       {0, 0, 0x96, 0, 0x9C, 0x01, 1, 0}},
  };
  connect();
  SimDevice& device = *line.device(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SimGroup before = device.currentGroup;
    const uint64_t editMicros = loop.micros();
    sent.clear();
    c.edit();
    run(1000);
    SimGroup expected = before;
    std::copy(c.block.begin(), c.block.end(), expected.begin() + static_cast<std::ptrdiff_t>(c.offset));
    EXPECT_EQ(device.currentGroup, expected);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front().bytes.size(), 20u);
    const uint64_t delay = sent.front().startMicros - editMicros;
    EXPECT_GE(delay, 200'000u);
    EXPECT_LE(delay, 210'000u);
  }
}

TEST_F(LevelsTest, TwoBlocksGoOutOneSendPassApart) {
  connect();
  button("RzButton43").userClick();
  get<ComboBox>("RzComboBox2").userSelect(10);  // slot 3
  button("RzButton46").userClick();             // slot 1 goes first
  run(1200);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0].bytes, slot(1));
  EXPECT_EQ(sent[1].bytes, slot(3));
  // The write, the 300 ms pause, the send timer's 10 ms and the 200 ms before the next write.
  EXPECT_EQ((sent[1].startMicros - sent[0].endMicros) / 1000, 510u);
  EXPECT_EQ(line.device(1)->currentGroup[16], 10);
  EXPECT_EQ(line.device(1)->currentGroup[1], 0);
}

TEST_F(LevelsTest, ThresholdReachesTheDeviceSettings) {
  connect();
  button("RzButton11").userClick();
  get<ComboBox>("RzComboBox9").userSelect(20);
  run(1000);
  EXPECT_EQ(line.device(1)->systemBlock[5], 20);
  EXPECT_EQ(line.device(1)->systemBlock[3], 1);
  EXPECT_EQ(f().deviceId, 0);
}

TEST_F(LevelsTest, WithThePortClosedEditsChangeOnlyTheWindow) {
  button("RzButton46").userClick();
  button("RzButton1").userClick();
  f().c.TrackBar1->userSetPosition(150);
  button("RzButton45").userClick();
  gainSpin().userClickUp();
  button("RzButton44").userClick();
  delaySlider().userSetPosition(10);
  EXPECT_EQ(f().model.on[0], 0);
  EXPECT_EQ(f().model.polarity[0], 1);
  EXPECT_EQ(f().model.masterVolume, 150);
  EXPECT_EQ(f().model.gain[0], 121);
  EXPECT_EQ(f().model.delay[0], 10);
  EXPECT_EQ(f().c.Label1->caption(), "-30.2 dB");
  EXPECT_EQ(f().sendTable.lowestPending(), 0);
  run(2000);
  EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace audiodsp
