// Dragging the EQ band markers on Image5 through the image's mouse events: the grab distance, the
// lower band winning on overlap, the drag limits per coordinate, the drag calibration, the fields that
// follow, and what reaches the device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/display_format.h"
#include "model/group_image.h"
#include "model/value_tables.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;

class BandDragTest : public ::testing::Test {
 protected:
  // High's EQ panel open after the start-up search; connected when asked.
  void openHighEq(bool connected = false) {
    fx.startUp();
    if (connected) fx.connect();
    f().c.RzButton41->userClick();
  }
  MainForm& f() { return fx.f(); }
  Image& graph() { return *f().c.Image5; }
  Edit& edit(const char* name) { return fx.get<Edit>(name); }
  void press(int x, int y) { graph().userMouseDown(MouseButton::Left, x, y); }
  void move(int x, int y) { graph().userMouseMove(MouseButton::Left, x, y); }
  void release(int x, int y) { graph().userMouseUp(MouseButton::Left, x, y); }

  FormFixture fx;
};

TEST_F(BandDragTest, APressCloserThanEightPixelsGrabs) {
  // Band 4 sits at (294, 86) after the row fill (198 Hz, 0 dB).
  struct Case {
    int dx, dy;
    bool grabs;
  };
  for (const Case& c : {Case{7, 0, true}, Case{8, 0, false}, Case{-7, 7, true}, Case{0, -8, false}}) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    FormFixture local;
    local.startUp();
    MainForm& m = local.f();
    m.c.RzButton41->userClick();
    ASSERT_EQ(m.graph.marker(3), (Point{294, 86}));
    const EqBand before = m.model.band[3];
    m.c.Image5->userMouseDown(MouseButton::Left, 294 + c.dx, 86 + c.dy);
    m.c.Image5->userMouseMove(MouseButton::Left, 429, 63);
    EXPECT_EQ(m.model.band[3] != before, c.grabs);
    if (c.grabs) {
      EXPECT_EQ(m.currentBandSlot, 3);
      EXPECT_EQ(m.model.band[3].freq, 136);  // x 429: 1000 Hz
    }
  }
}

TEST_F(BandDragTest, OnOverlappingSquaresTheLowerBandIsGrabbed) {
  openHighEq();
  // Band 3 moved next to band 2 (177, 86): 54.1 Hz lies at column 184.
  Edit& freq3 = edit("RzEdit96");
  freq3.userClick();
  freq3.selectAll();
  freq3.userType("54.1\r");
  ASSERT_EQ(f().graph.marker(2).x, 184);
  press(180, 86);
  move(300, 120);
  EXPECT_EQ(f().currentBandSlot, 1);
  EXPECT_NE(f().model.band[1].freq, 33);
  EXPECT_EQ(f().model.band[2].freq, 35);
}

TEST_F(BandDragTest, TheZeroDbLineStoresPlusPointTwoAndRedrawsOneRowHigher) {
  openHighEq();
  press(236, 86);  // band 3
  move(236, 90);
  move(236, 86);
  const EqBand& band = f().model.band[2];
  EXPECT_EQ(band.peqGain, 121);
  // Column 236 stands for 100 Hz, so the square also jumps to the column of 99.2 Hz.
  EXPECT_EQ(f().graph.marker(2), (Point{235, 85}));
  EXPECT_EQ(edit("RzEdit108").text(), "0.2");
  EXPECT_EQ(edit("RzEdit96").text(), "99.2");
}

TEST_F(BandDragTest, EachCoordinateFollowsTheMouseOnlyWithinItsLimits) {
  openHighEq();
  press(429, 86);  // band 6
  move(689, 50);
  EXPECT_EQ(f().model.band[5].freq, kFreqMaxIndex);
  const int gainAt50 = f().model.band[5].peqGain;
  struct Case {
    int x, y;
    int freq;  // expected stored indexes; -1: as before
    int gain;
  };
  // Beyond x 689 the frequency stays while the gain follows, and the other way round below row 32.
  for (const Case& c : {Case{700, 120, kFreqMaxIndex, -1}, Case{750, 198, kFreqMaxIndex, 0},
                        Case{429, 20, 136, 0}, Case{50, 250, 136, 0}, Case{97, 32, 0, 180}}) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    const int before = f().model.band[5].peqGain;
    move(c.x, c.y);
    EXPECT_EQ(f().model.band[5].freq, c.freq);
    if (c.gain >= 0) {
      EXPECT_EQ(f().model.band[5].peqGain, c.gain);
    } else {
      EXPECT_NE(f().model.band[5].peqGain, before);
    }
  }
  EXPECT_NE(gainAt50, 0);
  EXPECT_EQ(edit("RzEdit111").text(), "19.7");
  EXPECT_EQ(edit("RzEdit113").text(), "12");
}

TEST_F(BandDragTest, AShelfDragMovesOnlyTheShelfGain) {
  openHighEq();
  Edit& gain = edit("RzEdit107");
  gain.userClick();
  gain.selectAll();
  gain.userType("-3\r");
  fx.get<ComboBox>("RzComboBox67").userSelect(1);  // band 2 low shelf, shelf gain 0 dB
  press(177, 86);
  move(177, 40);
  release(177, 40);
  EXPECT_EQ(f().model.band[1].peqGain, 105);
  EXPECT_EQ(f().model.band[1].shelfGain, 171);  // row 40: +10.2 dB
  EXPECT_EQ(edit("RzEdit107").text(), "10.2");
  fx.get<ComboBox>("RzComboBox67").userSelect(0);
  EXPECT_EQ(edit("RzEdit107").text(), "-3");
}

TEST_F(BandDragTest, APressCommitsTheFieldBeingEditedAndTheReleaseEndsTheDrag) {
  openHighEq();
  Edit& q = edit("RzEdit103");
  q.userClick();
  q.selectAll();
  q.userType("2");
  press(600, 200);  // nothing under the mouse: only the focus moves
  EXPECT_EQ(f().form.focusedControl(), &edit("RzEdit94"));
  EXPECT_EQ(f().model.band[2].q, 9);
  EXPECT_EQ(q.text(), "2");
  release(600, 200);

  press(101, 86);  // band 1
  move(300, 100);
  release(300, 100);
  const EqBand dropped = f().model.band[0];
  graph().userMouseMove(MouseButton::Left, 500, 150);  // the button is up: nothing happens
  EXPECT_EQ(f().model.band[0], dropped);
  EXPECT_EQ(f().graph.marker(0).x, f().graph.geometry().frequencyToColumn(FreqTable[dropped.freq]));
}

TEST_F(BandDragTest, MovesSendTheLastStateAndLeavingTheFrequencyFieldSendsItAgain) {
  openHighEq(true);
  press(101, 86);  // band 1, the focus now in RzEdit94
  for (int x = 110; x <= 200; x += 10) move(x, 60);
  release(200, 60);
  const EqBand& band = f().model.band[0];
  EXPECT_EQ(edit("RzEdit94").text(), formatGeneral(FreqTable[band.freq]));
  fx.run(1000);
  std::vector<std::string> frames;
  for (const std::string& h : fx.sentHex())
    if (h.size() == 40 && h.compare(8, 2, "A1") == 0) frames.push_back(h);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].substr(20, 2), "29");  // x 200: index 41, 64.3 Hz
  EXPECT_EQ(fx.line.device(1)->currentGroup, encodeImage(f().model));

  // The band-1 frequency field still holds the focus and the text the drag wrote, unlike PrevText.
  edit("RzEdit95").userClick();
  fx.run(1000);
  size_t writes = 0;
  for (const std::string& h : fx.sentHex())
    if (h.size() == 40 && h.compare(8, 2, "A1") == 0) ++writes;
  EXPECT_EQ(writes, 2u);
}

}  // namespace
}  // namespace audiodsp
