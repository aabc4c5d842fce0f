// The crossover box and the recoup button driven through their controls: frequency commits with the
// shared snapshot, spin steps, slope lists, the curve redraw and the crossover block of the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "level_fixture.h"
#include "platform/controls.h"
#include "ui/crossover_editor.h"

namespace audiodsp {
namespace {

class CrossoverTest : public testing::LevelFormTest {
 protected:
  Edit& hpf() { return f().get<Edit>("RzEdit205"); }
  Edit& lpf() { return f().get<Edit>("RzEdit206"); }
  SpinButtons& hpfSpin() { return f().get<SpinButtons>("RzSpinButtons181"); }
  SpinButtons& lpfSpin() { return f().get<SpinButtons>("RzSpinButtons182"); }
  ComboBox& hpfSlope() { return f().get<ComboBox>("RzComboBox69"); }
  ComboBox& lpfSlope() { return f().get<ComboBox>("RzComboBox71"); }
  void openEq(const char* name) { button(name).userClick(); }
};

TEST_F(CrossoverTest, FrequencyCommitsClampAndSnap) {
  struct Case {
    bool high;
    const char* typed;
    const char* shown;
    int index;
  };
  const Case cases[] = {
      {true, "10", "19.7", 0},        {false, "30000", "21900", 243}, {true, "20000", "20100", 240},
      {false, "20000", "20100", 240}, {true, "19.9", "19.7", 0},      {false, "5040", "5040", 192},
  };
  openEq("RzButton41");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Edit& field = c.high ? hpf() : lpf();
    typeInto(field, c.typed);
    leave();
    EXPECT_EQ(field.text(), c.shown);
    const Crossover& x = f().model.crossover[0];
    EXPECT_EQ(c.high ? x.hpfFreq : x.lpfFreq, c.index);
  }
}

TEST_F(CrossoverTest, UnreadableOrUnchangedTextSendsNothing) {
  openLink();
  openEq("RzButton53");  // Low
  for (const char* pasted : {"", ".", "1.2.3", "-", "abc"}) {
    SCOPED_TRACE(pasted);
    hpf().userClick();
    hpf().userSetText(pasted);
    leave();
    EXPECT_EQ(hpf().text(), "19.7");
  }
  hpf().userClick();
  hpf().userKey(kKeyEnter);
  EXPECT_EQ(f().sendTable.lowestPending(), 0);
  // A minus sign and letters never reach the field.
  typeInto(hpf(), "-1a00");
  EXPECT_EQ(hpf().text(), "100");
}

TEST_F(CrossoverTest, EnterSendsOnceAndAnHpfAboveTheLpfIsKept) {
  openLink();
  openEq("RzButton47");  // Mid
  typeInto(hpf(), "5040");
  hpf().userKey(kKeyEnter);
  EXPECT_TRUE(pending(5));
  f().sendTable.clearAll();
  leave();
  EXPECT_FALSE(pending(5));
  typeInto(lpf(), "1000");
  lpf().userKey(kKeyEnter);
  EXPECT_EQ(slot(5), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x01, 0x01, 0x00, 0x08,
                            192,  0x00, 0x00, 0x00, 136,  0x00, 0x00, 0x00, 0xE1, 0xAA}));
  EXPECT_EQ(f().model.crossover[1], (Crossover{192, 0, 136, 0}));
}

TEST_F(CrossoverTest, SpinsStepOneEntryAndStopAtTheEnds) {
  openLink();
  openEq("RzButton41");
  hpfSpin().userClickDown();
  lpfSpin().userClickUp();
  EXPECT_EQ(f().sendTable.lowestPending(), 0);
  EXPECT_EQ(hpf().text(), "19.7");
  EXPECT_EQ(lpf().text(), "21900");
  hpfSpin().userClickUp();
  EXPECT_EQ(hpf().text(), "20.3");
  lpfSpin().userClickDown();
  EXPECT_EQ(lpf().text(), "21300");
  EXPECT_EQ(f().model.crossover[0], (Crossover{1, 0, 242, 0}));
  EXPECT_TRUE(pending(2));
}

TEST_F(CrossoverTest, SlopeOfTheCurrentOutputOnlyAndTheCurveFollows) {
  openLink();
  ASSERT_EQ(lpfSlope().itemCount(), 9);
  EXPECT_EQ(lpfSlope().item(7), "24db-LR");
  EXPECT_EQ(hpfSlope().itemIndex(), 0);
  openEq("RzButton4");  // Main
  typeInto(lpf(), "1000");
  leave();
  const double flat = f().graph.lowPassResponse(3)[600];
  lpfSlope().userSelect(7);
  EXPECT_EQ(f().model.crossover[3].lpfSlope, 7);
  for (int o = 0; o < 3; ++o) EXPECT_EQ(f().model.crossover[o].lpfSlope, 0);
  // A steeper slope pulls the top of the curve further down.
  EXPECT_LT(f().graph.lowPassResponse(3)[600], flat);
  EXPECT_LT(flat, -10.0);
  EXPECT_EQ(slot(36), (Bytes{0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x04, 0x00, 0x00, 0x08,
                             0x00, 0x00, 0x00, 0x00, 136,  0x07, 0x00, 0x00, 0x22, 0xAA}));
  // Another output's panel shows that output's values.
  openEq("RzButton41");
  EXPECT_EQ(lpf().text(), "21900");
  EXPECT_EQ(lpfSlope().itemIndex(), 0);
  openEq("RzButton4");
  EXPECT_EQ(lpf().text(), "1000");
  EXPECT_EQ(lpfSlope().itemIndex(), 7);
}

TEST_F(CrossoverTest, RecoupTogglesColourAndMainBlock) {
  Button& recoup = f().get<Button>("RzButton98");
  recoup.userClick();  // offline: flag and colour change, nothing is built
  EXPECT_EQ(f().model.recoup, 1);
  EXPECT_EQ(colorValue(recoup.color()), 255u);
  EXPECT_FALSE(pending(28));
  openLink();
  recoup.userClick();
  EXPECT_EQ(f().model.recoup, 0);
  EXPECT_EQ(colorValue(recoup.color()), 14737632u);
  ASSERT_TRUE(pending(28));
  EXPECT_EQ(slot(28)[10], 0x00);
  recoup.userClick();
  EXPECT_EQ(slot(28)[10], 0x01);
}

TEST_F(CrossoverTest, CommitsAndRecoupReachTheDeviceGroup) {
  connect();
  SimDevice& device = *line.device(1);
  SimGroup expected = device.currentGroup;
  openEq("RzButton53");  // Low
  typeInto(hpf(), "1000");
  leave();
  hpfSlope().userSelect(5);
  button("RzButton98").userClick();
  run(2000);
  // Low crossover: HPF 1000 Hz "18db-Bessel", LPF 21900 Hz; Main block: recoup on.
  const uint8_t crossover[8] = {136, 5, 0, 0, 243, 0, 0, 0};
  std::copy(std::begin(crossover), std::end(crossover), expected.begin() + 152);
  const uint8_t main[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  std::copy(std::begin(main), std::end(main), expected.begin() + 216);
  EXPECT_EQ(device.currentGroup, expected);
  // The HPF edit and the slope change are one frame: the slot held the latest state when its turn came.
  std::vector<Bytes> writes;
  for (const WireEvent& e : sent)
    if (e.bytes.size() == 20 && e.bytes[4] == 0xA1) writes.push_back(e.bytes);
  EXPECT_EQ(writes, (std::vector<Bytes>{slot(8), slot(28)}));
}

}  // namespace
}  // namespace audiodsp
