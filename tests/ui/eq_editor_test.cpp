// The EQ table of the EQ/HPF/LPF panel, driven through the form's controls: commits with their clamps
// and snapping, unreadable texts, key filters, Enter, spins, band types, row fill and "0 dB", offline
// and against the simulated device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/group_image.h"
#include "model/value_tables.h"
#include "support/form_fixture.h"

namespace audiodsp {
namespace {

using testing::FormFixture;

// Band frames (20-byte block writes) among the hex texts the program wrote.
std::vector<std::string> blockWrites(const std::vector<std::string>& sent) {
  std::vector<std::string> out;
  for (const std::string& h : sent)
    if (h.size() == 40 && h.compare(8, 2, "A1") == 0) out.push_back(h);
  return out;
}

class EqTable : public ::testing::Test {
 protected:
  // The window after the start-up search, High's EQ panel open; connected when asked.
  void openHighEq(bool connected) {
    fx.startUp();
    if (connected) fx.connect();
    f().c.RzButton41->userClick();
  }
  MainForm& f() { return fx.f(); }
  Edit& edit(const char* name) { return fx.get<Edit>(name); }
  // The operator replaces a field's text and leaves it for the next field.
  void typeAndLeave(const char* name, const std::string& text, const char* next = "RzEdit111") {
    Edit& e = edit(name);
    e.userClick();
    e.selectAll();
    e.userType(text);
    edit(next).userClick();
  }
  std::vector<std::string> writtenBlocks(uint32_t ms = 1000) {
    fx.run(ms);
    return blockWrites(fx.sentHex());
  }

  FormFixture fx;
};

struct CommitCase {
  const char* field;
  const char* typed;
  const char* shown;
  int index;  // the stored index of the kind
};

class EqCommit : public EqTable, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(EqCommit, ClampsSnapsStoresAndShowsTheTableValue) {
  const CommitCase& c = GetParam();
  openHighEq(false);
  typeAndLeave(c.field, c.typed);
  EXPECT_EQ(edit(c.field).text(), c.shown);
  const std::string field = c.field;
  const EqBand& band = f().model.band[1];  // row 2 of High
  const int stored = field == "RzEdit95" ? band.freq : field == "RzEdit102" ? band.q : band.peqGain;
  EXPECT_EQ(stored, c.index);
  EXPECT_EQ(f().currentBandSlot, 1);
  // The band was redrawn from the stored values.
  EXPECT_EQ(f().graph.marker(1).x, f().graph.geometry().frequencyToColumn(FreqTable[band.freq]));
  EXPECT_EQ(f().graph.marker(1).y, f().graph.geometry().gainToRow(GainTable[band.peqGain]));
}

INSTANTIATE_TEST_SUITE_P(
    Row2, EqCommit,
    ::testing::Values(CommitCase{"RzEdit95", "50", "49.6", 32}, CommitCase{"RzEdit95", "20000", "20100", 240},
                      CommitCase{"RzEdit95", "25000", "21900", 243}, CommitCase{"RzEdit95", "5", "19.7", 0},
                      CommitCase{"RzEdit95", "21900", "21900", 243}, CommitCase{"RzEdit102", "0", "0.2", 0},
                      CommitCase{"RzEdit102", "0.3", "0.2", 0}, CommitCase{"RzEdit102", "0.5", "0.4", 1},
                      CommitCase{"RzEdit102", "1.1", "1.2", 5}, CommitCase{"RzEdit102", "40", "36", 179},
                      CommitCase{"RzEdit102", "1.0", "1", 4}, CommitCase{"RzEdit107", "13", "12", 180},
                      CommitCase{"RzEdit107", "-30", "-24", 0}, CommitCase{"RzEdit107", "0.1", "0", 120},
                      CommitCase{"RzEdit107", "-0.1", "-0.2", 119},
                      CommitCase{"RzEdit107", "-23.8", "-23.8", 1}));

TEST_F(EqTable, UnreadableTextsReturnToTheSnapshotAndSendNothing) {
  openHighEq(true);
  const EqBand before = f().model.band[1];
  for (const char* text : {"", ".", "1.2.3", "-", "5-"}) {
    SCOPED_TRACE(text);
    Edit& gain = edit("RzEdit107");
    gain.userClick();
    gain.userSetText(text);  // pasted, so the key filter does not see it
    edit("RzEdit95").userClick();
    EXPECT_EQ(gain.text(), "0");
    EXPECT_EQ(f().model.band[1], before);
  }
  EXPECT_TRUE(writtenBlocks().empty());
}

TEST_F(EqTable, KeyFiltersDropWhatTheFieldCannotHold) {
  openHighEq(false);
  struct Case {
    const char* field;
    const char* keys;
    const char* text;
  };
  for (const Case& c : {Case{"RzEdit95", "a-1b.5", "51.11.5"}, Case{"RzEdit102", "-Q2", "12"},
                        Case{"RzEdit107", "-x1.e2", "0-1.2"}}) {
    SCOPED_TRACE(c.field);
    Edit& e = edit(c.field);
    e.userClick();
    e.userType(c.keys);
    EXPECT_EQ(e.text(), c.text);
  }
}

TEST_F(EqTable, EnterCommitsOnceAndAgainOnlyAfterTheTextChanged) {
  openHighEq(true);
  Edit& freq = edit("RzEdit95");
  freq.userClick();
  freq.userKey(kKeyEnter);  // unchanged: nothing
  freq.selectAll();
  freq.userType("60\r");
  EXPECT_EQ(freq.text(), "60.7");
  freq.userKey(kKeyEnter);
  edit("RzEdit96").userClick();  // leaving finds the text of the last Enter
  // Band 2 of High at 60.7 Hz (index 39), PEQ, 0 dB, 0 dB, Q 1.
  EXPECT_EQ(writtenBlocks(), std::vector<std::string>{"A5A5A500A1000004000827007800780004008EAA"});
  freq.userClick();
  freq.selectAll();
  freq.userType("100\r");
  freq.userKey(kKeyEnter);
  EXPECT_EQ(writtenBlocks().size(), 2u);
  EXPECT_EQ(f().model.band[1].freq, 56);  // 99.2 Hz
}

TEST_F(EqTable, SpinsStepOneEntryAndDoNothingAtTheEnds) {
  openHighEq(true);
  struct Case {
    const char* spin;
    bool up;
    const char* field;
    const char* shown;  // nullptr: the click does nothing
  };
  // Row 1 starts at 19.7 Hz, Q 1, 0 dB; row 6 is moved to the top of every range first.
  EqBand& top = f().model.band[5];
  top.freq = kFreqMaxIndex;
  top.q = kQMaxIndex;
  top.peqGain = kGainMaxIndex;
  EqBand& low = f().model.band[4];
  low.q = 0;
  low.peqGain = 0;
  const std::vector<Case> cases = {
      {"RzSpinButtons82", false, "RzEdit94", nullptr},  {"RzSpinButtons82", true, "RzEdit94", "20.3"},
      {"RzSpinButtons82", false, "RzEdit94", "19.7"},   {"RzSpinButtons75", true, "RzEdit99", "1.2"},
      {"RzSpinButtons70", true, "RzEdit106", "0.2"},    {"RzSpinButtons70", false, "RzEdit106", "0"},
      {"RzSpinButtons87", true, "RzEdit111", nullptr},  {"RzSpinButtons88", true, "RzEdit112", nullptr},
      {"RzSpinButtons89", true, "RzEdit113", nullptr},  {"RzSpinButtons81", false, "RzEdit105", nullptr},
      {"RzSpinButtons74", false, "RzEdit110", nullptr}, {"RzSpinButtons89", false, "RzEdit113", "11.8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.spin) + (c.up ? " up" : " down"));
    Edit& e = edit(c.field);
    const std::string before = e.text();
    const std::vector<EqBand> bands(f().model.band.begin(), f().model.band.end());
    SpinButtons& s = fx.get<SpinButtons>(c.spin);
    c.up ? s.userClickUp() : s.userClickDown();
    if (c.shown) {
      EXPECT_EQ(e.text(), c.shown);
      EXPECT_EQ(writtenBlocks(600).size(), 1u);
    } else {
      EXPECT_EQ(e.text(), before);
      EXPECT_EQ(std::vector<EqBand>(f().model.band.begin(), f().model.band.end()), bands);
      EXPECT_TRUE(writtenBlocks(600).empty());
    }
    fx.sent.clear();
  }
}

TEST_F(EqTable, TypeChangeShowsTheGainInForceAndSendsBoth) {
  openHighEq(true);
  typeAndLeave("RzEdit108", "-3");  // row 3: PEQ gain -3 dB
  ComboBox& type = fx.get<ComboBox>("RzComboBox72");
  type.userSelect(1);
  EXPECT_EQ(edit("RzEdit108").text(), "0");  // the shelf gain of a band never edited
  typeAndLeave("RzEdit108", "6");
  type.userSelect(0);
  EXPECT_EQ(edit("RzEdit108").text(), "-3");
  const EqBand& band = f().model.band[2];
  EXPECT_EQ(band.peqGain, 105);
  EXPECT_EQ(band.shelfGain, 150);
  fx.run(3000);
  // The last frame of band 3 (address 0, 5): 19.7 Hz as the device's group had it, PEQ, PEQ gain 105,
  // shelf gain 150, Q 1.
  const std::vector<std::string> frames = blockWrites(fx.sentHex());
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back(), "A5A5A500A10000050008000069009600040057AA");
}

TEST_F(EqTable, RowFillShowsTheOutputsBandsAndTheFormTextsBefore) {
  fx.startUp();
  EXPECT_EQ(edit("RzEdit95").text(), "50");
  EXPECT_EQ(edit("RzEdit99").text(), "1.00");
  f().c.RzButton41->userClick();
  const std::vector<std::string> freqs = {"RzEdit94", "RzEdit95", "RzEdit96",
                                          "RzEdit97", "RzEdit98", "RzEdit111"};
  const std::vector<std::string> shown = {"19.7", "51.1", "102", "198", "500", "1000"};
  for (size_t i = 0; i < freqs.size(); ++i) EXPECT_EQ(edit(freqs[i].c_str()).text(), shown[i]);
  EXPECT_EQ(edit("RzEdit99").text(), "1");
  EXPECT_EQ(edit("RzEdit113").text(), "0");
  // An edit of High stays with High; Low shows its own bands in the same fields.
  f().model.band[bandSlotOf(2, 3)] = EqBand{.freq = 100, .type = 2, .peqGain = 100, .shelfGain = 130, .q = 9};
  typeAndLeave("RzEdit97", "1000");
  f().c.RzButton53->userClick();
  EXPECT_EQ(edit("RzEdit97").text(), "354");
  EXPECT_EQ(edit("RzEdit104").text(), "2");
  EXPECT_EQ(edit("RzEdit109").text(), "2");
  EXPECT_EQ(fx.get<ComboBox>("RzComboBox73").itemIndex(), 2);
  f().c.RzButton41->userClick();
  EXPECT_EQ(edit("RzEdit97").text(), "1000");
}

TEST_F(EqTable, ZeroDbFlattensTheGainsInForceWithTheProgressBoxOverSixFrames) {
  openHighEq(true);
  fx.get<ComboBox>("RzComboBox66").userSelect(2);  // band 1 high shelf
  typeAndLeave("RzEdit106", "6", "RzEdit95");
  fx.get<ComboBox>("RzComboBox66").userSelect(0);
  typeAndLeave("RzEdit106", "-3", "RzEdit95");
  fx.get<ComboBox>("RzComboBox66").userSelect(2);
  typeAndLeave("RzEdit110", "4", "RzEdit95");
  const EqBand mid5 = f().model.band[bandSlotOf(1, 4)];
  fx.run(3000);
  fx.sent.clear();

  fx.get<Button>("RzButton97").userClick();
  EXPECT_TRUE(f().c.RzGroupBox1->visible());
  EXPECT_EQ(f().c.RzGroupBox1->left(), 208);
  EXPECT_EQ(f().c.RzGroupBox1->top(), 512);
  for (Control* box : {static_cast<Control*>(f().c.RzGroupBox8), static_cast<Control*>(f().c.GroupBox1),
                       static_cast<Control*>(f().c.GroupBox2), static_cast<Control*>(f().c.GroupBox3)})
    EXPECT_FALSE(box->enabled()) << box->name();
  for (const char* gain : {"RzEdit106", "RzEdit107", "RzEdit108", "RzEdit109", "RzEdit110", "RzEdit113"})
    EXPECT_EQ(edit(gain).text(), "0") << gain;
  EXPECT_EQ(f().model.band[0].peqGain, 105);  // not in force: kept
  EXPECT_EQ(f().model.band[0].shelfGain, kGainZeroIndex);
  EXPECT_EQ(f().model.band[4].peqGain, kGainZeroIndex);
  EXPECT_EQ(f().model.band[bandSlotOf(1, 4)], mid5);

  fx.run(2700);  // five frames out, the sixth not yet
  EXPECT_EQ(blockWrites(fx.sentHex()).size(), 5u);
  EXPECT_TRUE(f().c.RzGroupBox1->visible());
  fx.run(600);
  const std::vector<std::string> frames = blockWrites(fx.sentHex());
  ASSERT_EQ(frames.size(), 6u);
  for (size_t i = 0; i < frames.size(); ++i)
    EXPECT_EQ(frames[i].substr(12, 4), "000" + std::to_string(3 + i));
  EXPECT_FALSE(f().c.RzGroupBox1->visible());
  EXPECT_TRUE(f().c.RzGroupBox8->enabled());
  EXPECT_TRUE(f().c.GroupBox1->enabled());
  // The device's group now holds the editor's bands.
  EXPECT_EQ(fx.line.device(1)->currentGroup, encodeImage(f().model));
}

TEST_F(EqTable, ZeroDbDoesNothingWhileThePortIsClosed) {
  openHighEq(false);
  typeAndLeave("RzEdit106", "6", "RzEdit95");
  fx.get<Button>("RzButton97").userClick();
  EXPECT_EQ(f().model.band[0].peqGain, 150);
  EXPECT_EQ(edit("RzEdit106").text(), "6");
  EXPECT_FALSE(f().c.RzGroupBox1->visible());
  EXPECT_TRUE(f().c.RzGroupBox8->enabled());
}

// One edit of each kind reaches the device as a write of exactly the band's block.
TEST_F(EqTable, AnEditChangesExactlyItsBlockOfTheDevicesGroup) {
  openHighEq(true);
  f().c.RzButton4->userClick();  // Main: its bands live at addresses 5..10
  struct Case {
    const char* what;
    int band;
    size_t block;  // index of the band's block in the group image
  };
  for (const Case& c : {Case{"RzEdit96", 2, 31}, Case{"RzEdit104", 3, 32}, Case{"RzComboBox75", 5, 34},
                        Case{"RzSpinButtons70", 0, 29}}) {
    SCOPED_TRACE(c.what);
    const SimGroup before = fx.line.device(1)->currentGroup;
    const std::string name = c.what;
    if (name == "RzEdit96") typeAndLeave(c.what, "2000", "RzEdit95");
    if (name == "RzEdit104") typeAndLeave(c.what, "7.3", "RzEdit95");
    if (name == "RzComboBox75") fx.get<ComboBox>(c.what).userSelect(1);
    if (name == "RzSpinButtons70") fx.get<SpinButtons>(c.what).userClickDown();
    fx.run(600);
    const SimGroup& after = fx.line.device(1)->currentGroup;
    for (size_t i = 0; i < after.size(); ++i)
      if (i / 8 != c.block) {
        EXPECT_EQ(after[i], before[i]) << "byte " << i;
      }
    EXPECT_NE(after, before);
    EXPECT_EQ(after, encodeImage(f().model));
  }
}

TEST_F(EqTable, OfflineEditsChangeOnlyTheEditor) {
  openHighEq(false);
  typeAndLeave("RzEdit98", "1000", "RzEdit95");
  fx.get<SpinButtons>("RzSpinButtons78").userClickUp();
  fx.get<ComboBox>("RzComboBox74").userSelect(1);
  fx.run(2000);
  EXPECT_EQ(f().model.band[4].freq, 136);
  EXPECT_EQ(f().model.band[4].type, 1);
  EXPECT_EQ(f().model.band[1].q, 5);
  EXPECT_TRUE(fx.sent.empty());
  for (int slot = 1; slot <= 50; ++slot) EXPECT_FALSE(f().sendTable.pending(slot)) << slot;
}

}  // namespace
}  // namespace audiodsp
