#include <gtest/gtest.h>

#include "model/group_image.h"
#include "model/value_tables.h"
#include "protocol/frame_codec.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;

TEST(MainForm, OpensWithOnlyTheSearchProgressBoxAndStartValues) {
  FormFixture fx;
  MainForm& f = fx.open();
  EXPECT_EQ(f.form.caption(), "Audio ");
  EXPECT_EQ(f.form.width(), 750);
  EXPECT_EQ(f.form.height(), 753);
  for (const char* hidden : {"GroupBox1", "GroupBox2", "GroupBox3", "File1", "Help1"})
    EXPECT_FALSE(f.form.find(hidden)->visible()) << hidden;
  EXPECT_TRUE(f.c.RzGroupBox3->visible());
  EXPECT_EQ(f.c.RzGroupBox3->left(), 176);
  EXPECT_EQ(f.c.RzGroupBox8->left(), 7);
  EXPECT_EQ(f.c.RzGroupBox1->top(), 504);
  EXPECT_EQ(f.currentOutput, -1);
  EXPECT_EQ(f.currentPanel, kNoPanel);
  EXPECT_EQ(f.deviceId, 0);
  EXPECT_EQ(f.displayedDeviceId, 1);
  EXPECT_EQ(f.graph.marker(5), (Point{429, 86}));
  EXPECT_EQ(f.c.StatusBar1->panelText(0), "Disconnect");
}

struct SelectCase {
  const char* button;
  int output;
  int panel;
  const char* titleLabel;
  const char* title;
};

class Selection : public ::testing::TestWithParam<SelectCase> {};

TEST_P(Selection, OpensThePanelWithItsTitleAndYellowButton) {
  const SelectCase& s = GetParam();
  FormFixture fx;
  MainForm& f = fx.open();
  for (GroupBox* g : {f.c.GroupBox1, f.c.GroupBox2, f.c.GroupBox3}) g->show();
  Button& b = fx.get<Button>(s.button);
  b.userClick();
  EXPECT_EQ(f.currentOutput, s.output);
  EXPECT_EQ(f.currentPanel, s.panel);
  EXPECT_EQ(fx.get<Label>(s.titleLabel).caption(), s.title);
  EXPECT_EQ(b.color(), colors::kLightYellow);
}

INSTANTIATE_TEST_SUITE_P(Buttons, Selection,
                         ::testing::Values(SelectCase{"RzButton41", 0, kEqPanel, "RzLabel19", "High--EQ"},
                                           SelectCase{"RzButton53", 2, kEqPanel, "RzLabel18", "Low--H/LPF"},
                                           SelectCase{"RzButton4", 3, kEqPanel, "RzLabel19", "Main--EQ"},
                                           SelectCase{"RzButton49", 1, kLimiterPanel, "RzLabel5",
                                                      "Mid--Limiter"},
                                           SelectCase{"RzButton5", 3, kDelayPanel, "RzLabel4", "Mian--Delay"},
                                           SelectCase{"RzButton56", 2, kDelayPanel, "RzLabel4", "Low--Delay"},
                                           SelectCase{"RzButton51", 1, kGainPanel, "RzLabel2", "Mid--Gain"}));

TEST(MainForm, SwitchingEqPanelsKeepsTheGraphAndPopupsSitBelowTheirButton) {
  FormFixture fx;
  MainForm& f = fx.open();
  f.c.GroupBox1->show();
  int hides = 0;
  struct Count : ControlObserver {
    int* n;
    void changed(Control& c, Property p) override {
      if (p == Property::Visible && !c.visible()) ++*n;
    }
  } watch;
  watch.n = &hides;
  f.c.RzButton41->userClick();
  f.c.RzGroupBox8->setObserver(&watch);
  f.c.RzButton53->userClick();
  EXPECT_EQ(hides, 0);
  EXPECT_TRUE(f.c.RzGroupBox8->visible());
  EXPECT_EQ(f.c.RzButton41->color(), colors::kLightGrey);
  EXPECT_EQ(f.c.RzLabel19->caption(), "Low--EQ");
  // Clicking the open panel's button again keeps it open and yellow.
  f.c.RzButton53->userClick();
  EXPECT_TRUE(f.c.RzGroupBox8->visible());
  EXPECT_EQ(f.c.RzButton53->color(), colors::kLightYellow);
  // A gain panel hides the graph and stands just below and right of its button.
  f.c.RzButton45->userClick();
  f.c.RzGroupBox8->setObserver(nullptr);
  EXPECT_FALSE(f.c.RzGroupBox8->visible());
  EXPECT_EQ(f.c.RzGroupBox5->left(), 7 + f.c.RzButton45->left() + f.c.RzButton45->width());
  EXPECT_EQ(f.c.RzGroupBox5->top(), 98 + f.c.RzButton45->top() + f.c.RzButton45->height());
  f.c.SpeedButton17->userClick();
  EXPECT_FALSE(f.c.RzGroupBox5->visible());
  EXPECT_EQ(f.currentPanel, kNoPanel);
}

TEST(MainForm, BtlSwitchAsksHidesTheMidRowAndBuildsNothingOffline) {
  FormFixture fx;
  MainForm& f = fx.open();
  f.c.GroupBox1->show();
  fx.dialogs.answer(Answer::No);
  f.c.RzButton7->userClick();
  EXPECT_FALSE(f.model.btlOn());
  EXPECT_TRUE(f.c.RzButton47->visible());
  fx.dialogs.answer(Answer::Yes);
  f.c.RzButton7->userClick();
  ASSERT_EQ(fx.dialogs.shown().size(), 2u);
  EXPECT_EQ(fx.dialogs.shown()[1].title, "Notice");
  EXPECT_EQ(fx.dialogs.shown()[1].text, "Switch to BTL mode?");
  EXPECT_EQ(fx.dialogs.shown()[1].defaultButton, Answer::No);
  EXPECT_TRUE(f.model.btlOn());
  for (const char* mid :
       {"RzButton52", "RzButton51", "RzButton47", "RzButton49", "RzButton50", "RzButton2", "Image7"})
    EXPECT_FALSE(f.form.find(mid)->visible()) << mid;
  EXPECT_EQ(f.c.RzButton7->color(), colors::kGreen);
  EXPECT_EQ(f.sendTable.lowestPending(), 0);  // no port: nothing built
  fx.dialogs.answer(Answer::Yes);
  f.c.RzButton7->userClick();
  EXPECT_EQ(fx.dialogs.shown()[2].text, "Cancel the BTL model?");
  EXPECT_TRUE(f.c.RzButton47->visible());
}

TEST(MainForm, VersionAndAboutBtl) {
  FormFixture fx;
  MainForm& f = fx.open();
  f.c.N9->userClick();
  f.c.HelpMenu->show();
  f.c.N9->userClick();
  f.c.BTL1->userClick();
  ASSERT_EQ(fx.dialogs.shown().size(), 2u);
  EXPECT_EQ(fx.dialogs.shown()[0].text, "API for Version K_7146_6.2.8\rbuilt on 2013-12-16");
  EXPECT_EQ(fx.dialogs.shown()[1].title, "BTL Mode");
}

std::string imageText(const GroupImage& image) {
  std::string t;
  appendHex(t, buildFrame(0, kTypeData, 0, kCmdCurrentGroup, 0, image));
  return t;
}

struct ApplyCase {
  int masterVolume;
  const char* label;
};

TEST(ApplyImage, SetsTheAlwaysShownControlsAndDropsQueuedFrames) {
  for (ApplyCase a : {ApplyCase{0, "Mute"}, ApplyCase{301, "0.0 dB"}, ApplyCase{2, "-59.8 dB"}}) {
    SCOPED_TRACE(a.label);
    FormFixture fx;
    MainForm& f = fx.open();
    ParamModel m;
    m.masterVolume = a.masterVolume;
    m.polarity = {1, 0, 1, 1};
    m.on = {0, 1, 1};
    m.recoup = 2;
    m.btl = 1;
    f.c.RzButton98->setColor(colors::kRed);
    f.sendTable.mark(12);
    f.link.rxText() = "A5A5";
    int changes = 0;
    f.c.TrackBar1->onChange = [&] {
      if (!f.sliderGuard) ++changes;
    };
    f.applyImage(imageText(encodeImage(m)));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(f.c.TrackBar1->position(), a.masterVolume);
    EXPECT_EQ(f.c.Label1->caption(), a.label);
    EXPECT_EQ(f.c.RzButton1->caption(), "-");
    EXPECT_EQ(f.c.RzButton2->caption(), "+");
    EXPECT_EQ(f.c.RzButton6->caption(), "-");
    EXPECT_EQ(f.c.RzButton46->color(), colors::kRed);
    EXPECT_EQ(f.c.RzButton52->color(), colors::kLightGrey);
    EXPECT_EQ(f.c.RzButton98->color(), colors::kRed);  // recoup 2 keeps the colour
    EXPECT_EQ(f.model.recoup, 2);
    EXPECT_FALSE(f.c.RzButton47->visible());
    EXPECT_EQ(f.sendTable.lowestPending(), 0);
    EXPECT_TRUE(f.link.rxText().empty());
    EXPECT_TRUE(f.frames.enabled());
    EXPECT_EQ(f.currentOutput, kMainOutput);
    EXPECT_EQ(f.currentBandSlot, 23);
  }
}

TEST(ApplyImage, PlacesMarkersAndCurvesForEveryOutput) {
  FormFixture fx;
  MainForm& f = fx.open();
  ParamModel m;
  m.band[bandSlotOf(2, 4)].peqGain = 150;  // +6 dB on Low band 5 at 500 Hz
  f.applyImage(imageText(encodeImage(m)));
  EXPECT_LT(f.graph.marker(bandSlotOf(2, 4)).y, 86);
  EXPECT_EQ(f.graph.marker(bandSlotOf(1, 4)).y, 86);
  double peak = 0;
  for (double v : f.graph.bandResponse(bandSlotOf(2, 4))) peak = std::max(peak, v);
  EXPECT_GT(peak, 0.0);
}

}  // namespace
}  // namespace audiodsp
