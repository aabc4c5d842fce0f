#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/controls.h"

namespace audiodsp {
namespace {

// A small window: the device bar GroupBox2 holds a panel with the controls, so input can be blocked by
// the control itself, its box or the box's box.
struct Window {
  Form form{"Form1", "Audio "};
  GroupBox& box = form.add<GroupBox>("GroupBox2");
  Panel& panel = form.add<Panel>("Panel1", &box);
  Edit& edit = form.add<Edit>("RzEdit94", &panel);
  Edit& other = form.add<Edit>("RzEdit95", &panel);
  Button& button = form.add<Button>("Button3", &panel);
  SpeedButton& speed = form.add<SpeedButton>("SpeedButton17", &panel);
  ComboBox& combo = form.add<ComboBox>("RzComboBox6", &panel);
  SpinButtons& spin = form.add<SpinButtons>("RzSpinButtons82", &panel);
  ScrollBar& scroll = form.add<ScrollBar>("ScrollBar1", &panel);
  TrackBar& track = form.add<TrackBar>("TrackBar1", &panel);
  Image& image = form.add<Image>("Image5", &panel);
  MenuItem& fileMenu = form.add<MenuItem>("File");
  MenuItem& exitItem = form.add<MenuItem>("Exit1", &fileMenu);
  Edit& outside = form.add<Edit>("RzEdit1");
};

struct InputCase {
  const char* name;
  // Does the operator's action, returns whether its handler ran.
  std::function<bool(Window&)> act;
  // The control acted on.
  std::function<Control&(Window&)> target;
};

bool clickButton(Window& w) {
  bool ran = false;
  w.button.onClick = [&] { ran = true; };
  w.button.userClick();
  return ran;
}
bool clickSpeed(Window& w) {
  bool ran = false;
  w.speed.onClick = [&] { ran = true; };
  w.speed.userClick();
  return ran;
}
bool typeKey(Window& w) {
  bool ran = false;
  w.edit.onKeyPress = [&](char&) { ran = true; };
  w.edit.userKey('5');
  return ran && w.edit.text() == "5";
}
bool setEditText(Window& w) {
  w.edit.userSetText("12");
  return w.edit.text() == "12";
}
bool focusEdit(Window& w) {
  bool ran = false;
  w.edit.onEnter = [&] { ran = true; };
  w.form.userFocus(w.edit);
  return ran && w.edit.focused();
}
bool selectItem(Window& w) {
  bool ran = false;
  w.combo.setItems({"1", "2"});
  w.combo.onChange = [&] { ran = true; };
  w.combo.userSelect(1);
  return ran && w.combo.itemIndex() == 1;
}
bool spinUp(Window& w) {
  bool ran = false;
  w.spin.onUpClick = [&] { ran = true; };
  w.spin.userClickUp();
  return ran;
}
bool spinDown(Window& w) {
  bool ran = false;
  w.spin.onDownClick = [&] { ran = true; };
  w.spin.userClickDown();
  return ran;
}
bool dragScroll(Window& w) {
  bool ran = false;
  w.scroll.onChange = [&] { ran = true; };
  w.scroll.userSetPosition(7);
  return ran && w.scroll.position() == 7;
}
bool dragTrack(Window& w) {
  bool ran = false;
  w.track.onChange = [&] { ran = true; };
  w.track.userSetPosition(3);
  return ran && w.track.position() == 3;
}
bool mouseOnImage(Window& w) {
  std::vector<std::string> seen;
  auto rec = [&](const char* what) {
    return [&seen, what](MouseButton, int x, int y) {
      seen.push_back(std::string(what) + std::to_string(x) + "," + std::to_string(y));
    };
  };
  w.image.onMouseDown = rec("down");
  w.image.onMouseMove = rec("move");
  w.image.onMouseUp = rec("up");
  w.image.userMouseDown(MouseButton::Left, 101, 86);
  w.image.userMouseMove(MouseButton::Left, 110, -3);
  w.image.userMouseUp(MouseButton::Left, 110, -3);
  return seen == std::vector<std::string>{"down101,86", "move110,-3", "up110,-3"};
}

const InputCase kInputs[] = {
    {"ButtonClick", clickButton, [](Window& w) -> Control& { return w.button; }},
    {"SpeedButtonClick", clickSpeed, [](Window& w) -> Control& { return w.speed; }},
    {"EditKey", typeKey, [](Window& w) -> Control& { return w.edit; }},
    {"EditSetText", setEditText, [](Window& w) -> Control& { return w.edit; }},
    {"Focus", focusEdit, [](Window& w) -> Control& { return w.edit; }},
    {"ListSelect", selectItem, [](Window& w) -> Control& { return w.combo; }},
    {"SpinUp", spinUp, [](Window& w) -> Control& { return w.spin; }},
    {"SpinDown", spinDown, [](Window& w) -> Control& { return w.spin; }},
    {"ScrollBar", dragScroll, [](Window& w) -> Control& { return w.scroll; }},
    {"TrackBar", dragTrack, [](Window& w) -> Control& { return w.track; }},
    {"ImageMouse", mouseOnImage, [](Window& w) -> Control& { return w.image; }},
};

enum class Block { None, ControlDisabled, ControlHidden, PanelDisabled, BoxDisabled, BoxHidden };

const char* blockName(Block b) {
  switch (b) {
    case Block::None:
      return "Free";
    case Block::ControlDisabled:
      return "ControlDisabled";
    case Block::ControlHidden:
      return "ControlHidden";
    case Block::PanelDisabled:
      return "PanelDisabled";
    case Block::BoxDisabled:
      return "BoxDisabled";
    case Block::BoxHidden:
      return "BoxHidden";
  }
  return "?";
}

class InputBlocking : public ::testing::TestWithParam<std::tuple<InputCase, Block>> {};

TEST_P(InputBlocking, DisabledOrHiddenControlOrAncestorIgnoresInput) {
  const auto& [input, block] = GetParam();
  Window w;
  switch (block) {
    case Block::None:
      break;
    case Block::ControlDisabled:
      input.target(w).setEnabled(false);
      break;
    case Block::ControlHidden:
      input.target(w).hide();
      break;
    case Block::PanelDisabled:
      w.panel.setEnabled(false);
      break;
    case Block::BoxDisabled:
      w.box.setEnabled(false);
      break;
    case Block::BoxHidden:
      w.box.hide();
      break;
  }
  EXPECT_EQ(input.act(w), block == Block::None);
  // Blocking changes nothing about the control's own flags.
  EXPECT_EQ(input.target(w).enabled(), block != Block::ControlDisabled);
}

INSTANTIATE_TEST_SUITE_P(Inputs, InputBlocking,
                         ::testing::Combine(::testing::ValuesIn(kInputs),
                                            ::testing::Values(Block::None, Block::ControlDisabled,
                                                              Block::ControlHidden, Block::PanelDisabled,
                                                              Block::BoxDisabled, Block::BoxHidden)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  blockName(std::get<1>(info.param));
                         });

TEST(Menu, DisabledMenuBlocksItsEntries) {
  Window w;
  int ran = 0;
  w.exitItem.onClick = [&] { ++ran; };
  w.exitItem.userClick();
  w.fileMenu.setEnabled(false);
  w.exitItem.userClick();
  w.fileMenu.setEnabled(true);
  w.fileMenu.hide();
  w.exitItem.userClick();
  EXPECT_EQ(ran, 1);
}

TEST(Focus, MovesFireExitOnTheOldThenEnterOnTheNew) {
  Window w;
  std::vector<std::string> log;
  for (Edit* e : {&w.edit, &w.other}) {
    e->onEnter = [&log, e] { log.push_back("enter " + e->name()); };
    e->onExit = [&log, e] { log.push_back("exit " + e->name()); };
  }
  w.form.userFocus(w.edit);
  w.form.userFocus(w.edit);  // already there: nothing
  EXPECT_TRUE(w.form.setFocus(w.other));
  w.form.clearFocus();
  EXPECT_EQ(log,
            (std::vector<std::string>{"enter RzEdit94", "exit RzEdit94", "enter RzEdit95", "exit RzEdit95"}));
  EXPECT_EQ(w.form.focusedControl(), nullptr);
}

TEST(Focus, ClickingAFocusableControlCommitsTheFieldBeforeTheClick) {
  Window w;
  std::vector<std::string> log;
  w.edit.onExit = [&] { log.push_back("exit " + w.edit.text()); };
  w.button.onClick = [&] { log.push_back("click"); };
  w.track.onChange = [&] { log.push_back("track"); };
  w.edit.userType("50");
  w.button.userClick();
  EXPECT_EQ(w.form.focusedControl(), &w.button);
  EXPECT_EQ(log, (std::vector<std::string>{"exit 50", "click"}));
}

TEST(Focus, ControlsThatTakeNoFocusLeaveItWhereItIs) {
  Window w;
  int exits = 0;
  w.edit.onExit = [&] { ++exits; };
  w.form.userFocus(w.edit);
  w.spin.userClickUp();
  w.speed.userClick();
  w.image.userMouseDown(MouseButton::Left, 1, 1);
  w.form.userFocus(w.box);  // a group box never takes the focus
  EXPECT_EQ(w.form.focusedControl(), &w.edit);
  EXPECT_EQ(exits, 0);
}

TEST(Focus, DisabledOrHiddenControlCannotTakeIt) {
  Window w;
  w.form.userFocus(w.other);
  w.edit.setEnabled(false);
  EXPECT_FALSE(w.form.setFocus(w.edit));
  w.edit.setEnabled(true);
  w.box.hide();
  EXPECT_FALSE(w.form.setFocus(w.edit));
  EXPECT_EQ(w.form.focusedControl(), &w.other);
}

TEST(Focus, ExitHandlerMovingTheFocusOnWins) {
  Window w;
  std::vector<std::string> log;
  w.form.userFocus(w.outside);
  w.outside.onExit = [&] {
    log.push_back("exit RzEdit1");
    w.form.setFocus(w.other);
  };
  w.edit.onEnter = [&] { log.push_back("enter RzEdit94"); };
  w.edit.onExit = [&] { log.push_back("exit RzEdit94"); };
  w.other.onEnter = [&] { log.push_back("enter RzEdit95"); };
  w.form.userFocus(w.edit);
  EXPECT_EQ(log, (std::vector<std::string>{"exit RzEdit1", "enter RzEdit95"}));
  EXPECT_EQ(w.form.focusedControl(), &w.other);
}

// The key filter of a frequency field: backspace, Enter, "." and digits pass.
void frequencyFilter(char& key, std::vector<char>& enters) {
  if (key == kKeyEnter) {
    enters.push_back(key);
    key = 0;
    return;
  }
  if (key != kKeyBackspace && key != '.' && (key < '0' || key > '9')) key = 0;
}

struct TypingCase {
  const char* name;
  std::string before;
  size_t selStart, selLength;
  std::string keys;
  size_t maxLength;
  std::string after;
  size_t caret;
  int enters;
};

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, KeysPassTheFilterThenEditAtTheCaret) {
  const TypingCase& c = GetParam();
  Window w;
  std::vector<char> enters;
  int changes = 0;
  w.edit.setText(c.before);
  w.edit.setMaxLength(c.maxLength);
  w.form.userFocus(w.edit);
  w.edit.setSelection(c.selStart, c.selLength);
  w.edit.onKeyPress = [&](char& key) { frequencyFilter(key, enters); };
  w.edit.onChange = [&] { ++changes; };
  w.edit.userType(c.keys);
  EXPECT_EQ(w.edit.text(), c.after);
  EXPECT_EQ(w.edit.caret(), c.caret);
  EXPECT_EQ(static_cast<int>(enters.size()), c.enters);
  EXPECT_EQ(changes > 0, c.after != c.before);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, Typing,
    ::testing::Values(TypingCase{"DigitsAppend", "", 0, 0, "19.7", 0, "19.7", 4, 0},
                      TypingCase{"LettersAndMinusDropped", "", 0, 0, "1a-2 x", 0, "12", 2, 0},
                      TypingCase{"EnterGoesToTheHandlerOnly", "50", 2, 0, "\r", 0, "50", 2, 1},
                      TypingCase{"BackspaceDeletesBeforeTheCaret", "1000", 2, 0, "\b", 0, "100", 1, 0},
                      TypingCase{"BackspaceAtTheStartDoesNothing", "1000", 0, 0, "\b", 0, "1000", 0, 0},
                      TypingCase{"BackspaceDeletesTheSelection", "21900", 1, 3, "\b", 0, "20", 1, 0},
                      TypingCase{"TypingReplacesTheSelection", "1000", 0, 4, "5", 0, "5", 1, 0},
                      TypingCase{"InsertAtTheCaret", "100", 1, 0, "5", 0, "1500", 2, 0},
                      TypingCase{"MaxLengthStopsTyping", "123", 3, 0, "456", 4, "1234", 4, 0},
                      TypingCase{"MaxLengthAllowsReplacingASelection", "1234", 0, 2, "9", 4, "934", 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Edit, WithoutFilterControlCharactersOtherThanBackspaceInsertNothing) {
  Window w;
  w.edit.userType(std::string("a\x01\x1b\tb\r", 6));
  EXPECT_EQ(w.edit.text(), "ab");
}

TEST(Edit, BackspaceRemovesAWholeMultiByteCharacter) {
  Window w;
  w.edit.setText("a\xC2\xB0");  // "a°"
  w.edit.userClick();
  w.edit.userKey(kKeyBackspace);
  EXPECT_EQ(w.edit.text(), "a");
}

TEST(Edit, FirstKeyIntoAnUnfocusedFieldFocusesItFirst) {
  Window w;
  std::vector<std::string> log;
  w.form.userFocus(w.other);
  w.other.onExit = [&] { log.push_back("exit other"); };
  w.edit.onEnter = [&] { log.push_back("enter edit"); };
  w.edit.onKeyPress = [&](char& k) { log.push_back(std::string("key ") + k); };
  w.edit.userKey('7');
  EXPECT_EQ(log, (std::vector<std::string>{"exit other", "enter edit", "key 7"}));
}

TEST(Edit, ReadOnlyFieldSeesKeysButKeepsItsText) {
  Window w;
  w.edit.setText("0.000 Ms");
  w.edit.setReadOnly(true);
  int keys = 0;
  w.edit.onKeyPress = [&](char&) { ++keys; };
  w.edit.userType("12\b");
  w.edit.userSetText("9");
  EXPECT_EQ(w.edit.text(), "0.000 Ms");
  EXPECT_EQ(keys, 3);
}

TEST(Edit, ClickPlacesTheCaretThenRunsOnClickWhichMaySelectAll) {
  Window w;
  w.edit.setText("Band 1");
  bool armed = true;
  w.edit.onClick = [&] {
    if (armed) {
      w.edit.selectAll();
      armed = false;
    }
  };
  w.edit.userClickAt(2);
  EXPECT_EQ(w.edit.selStart(), 0u);
  EXPECT_EQ(w.edit.selLength(), 6u);
  w.edit.userClickAt(2);
  EXPECT_EQ(w.edit.selLength(), 0u);
  EXPECT_EQ(w.edit.caret(), 2u);
}

TEST(Edit, TextFromCodeRunsOnChangeAndIgnoresMaxLength) {
  Window w;
  int changes = 0;
  w.edit.onChange = [&] { ++changes; };
  w.edit.setMaxLength(3);
  w.edit.setText("21900");
  w.edit.setText("21900");
  EXPECT_EQ(w.edit.text(), "21900");
  EXPECT_EQ(changes, 1);
  w.edit.userSetText("123456");  // pasting obeys the limit
  EXPECT_EQ(w.edit.text(), "123");
}

TEST(Lists, SelectionFromCodeIsSilentAndTheOperatorsIsNot) {
  Window w;
  int changes = 0;
  w.combo.onChange = [&] { ++changes; };
  w.combo.setItems({"PEQ", "LS", "HS"});
  w.combo.setItemIndex(2);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(w.combo.text(), "HS");
  w.combo.userSelect(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(w.combo.text(), "LS");
  w.combo.userSelect(1);  // picking the selected item again still reports
  EXPECT_EQ(changes, 2);
  w.combo.userSelect(3);  // no such item
  w.combo.userSelect(-1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(w.combo.itemIndex(), 1);
}

TEST(Lists, ItemIndexOutsideTheListSelectsNothing) {
  Window w;
  w.combo.setItems({">=70 °C", "68 °C"});
  w.combo.setItemIndex(1);
  w.combo.setItemIndex(40);
  EXPECT_EQ(w.combo.itemIndex(), -1);
  EXPECT_EQ(w.combo.text(), "");
}

TEST(Lists, ReplacingItemsDropsTheSelectionAndSetItemKeepsIt) {
  Window w;
  w.combo.setItems({"Usr0:", "Usr1:", "Usr2:"});
  w.combo.setItemIndex(1);
  w.combo.setItem(1, "Usr1:Band 1");
  EXPECT_EQ(w.combo.itemIndex(), 1);
  EXPECT_EQ(w.combo.text(), "Usr1:Band 1");
  w.combo.setItem(5, "nothing");
  EXPECT_EQ(w.combo.items(), (std::vector<std::string>{"Usr0:", "Usr1:Band 1", "Usr2:"}));
  w.combo.setItems({"COM1", "COM10", "COM2"});
  EXPECT_EQ(w.combo.itemIndex(), -1);
  EXPECT_EQ(w.combo.text(), "");
  w.combo.setItemIndex(w.combo.itemCount() - 1);
  EXPECT_EQ(w.combo.text(), "COM2");
  EXPECT_EQ(w.combo.indexOf("COM10"), 1);
  EXPECT_EQ(w.combo.item(7), "");
}

TEST(Lists, EditableComboTakesTypedText) {
  Window w;
  w.combo.setEditable(true);
  w.combo.setItems({"1", "2", "12"});
  int changes = 0;
  w.combo.onChange = [&] { ++changes; };
  w.combo.userSetText("12");
  EXPECT_EQ(w.combo.itemIndex(), 2);
  w.combo.userSetText("99");
  EXPECT_EQ(w.combo.itemIndex(), -1);
  EXPECT_EQ(w.combo.text(), "99");
  EXPECT_EQ(changes, 2);
  w.combo.setEditable(false);
  w.combo.userSetText("1");  // a list without typing takes no text
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(w.combo.text(), "99");
}

struct RangeCase {
  const char* name;
  std::function<void(RangeControl&)> act;
  int position;
  int changes;
};

class Bars : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Bars, PositionFromCodeRunsOnChangeWhenItMoves) {
  const RangeCase& c = GetParam();
  for (const char* kind : {"ScrollBar", "TrackBar"}) {
    SCOPED_TRACE(kind);
    Window w;
    RangeControl& bar = std::string(kind) == "ScrollBar" ? static_cast<RangeControl&>(w.scroll) : w.track;
    bar.setRange(0, 301);
    bar.setPosition(100);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    c.act(bar);
    EXPECT_EQ(bar.position(), c.position);
    EXPECT_EQ(changes, c.changes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Bars,
    ::testing::Values(RangeCase{"Moved", [](RangeControl& b) { b.setPosition(250); }, 250, 1},
                      RangeCase{"Unchanged", [](RangeControl& b) { b.setPosition(100); }, 100, 0},
                      RangeCase{"ClampedHigh", [](RangeControl& b) { b.setPosition(400); }, 301, 1},
                      RangeCase{"ClampedLow", [](RangeControl& b) { b.setPosition(-5); }, 0, 1},
                      RangeCase{"RangeShrinkMovesIt", [](RangeControl& b) { b.setMax(50); }, 50, 1},
                      RangeCase{"RangeAroundItKeepsIt", [](RangeControl& b) { b.setRange(0, 412); }, 100, 0},
                      RangeCase{"ByTheOperator", [](RangeControl& b) { b.userSetPosition(7); }, 7, 1},
                      RangeCase{"OperatorClamped", [](RangeControl& b) { b.userSetPosition(999); }, 301, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct Recorder : ControlObserver {
  std::vector<std::pair<std::string, Property>> seen;
  void changed(Control& c, Property p) override { seen.emplace_back(c.name(), p); }
};

TEST(Observer, ReportsRealChangesOnly) {
  Window w;
  Recorder rec;
  ProgressBar& bar = w.form.add<ProgressBar>("RzProgressBar1", &w.box);
  StatusBar& status = w.form.add<StatusBar>("StatusBar1");
  status.addPanel(200, "Disconnect");
  for (Control* c : std::vector<Control*>{&w.button, &w.box, &bar, &status, &w.form}) c->setObserver(&rec);
  w.button.setColor(colors::kLightGrey);
  w.button.setColor(colorFromValue(14737632));  // the same grey
  w.button.setCaption("Connect");
  w.button.setCaption("Connect");
  w.box.setEnabled(false);
  w.box.setEnabled(false);
  w.box.setBounds(8, 8, 300, 90);
  w.box.moveTo(208, 232);
  bar.setPercent(96);
  bar.setPercent(150);
  bar.setPercent(100);
  status.setPanelText(0, "  Connect COM3");
  status.setPanelText(3, "no such panel");
  w.form.userFocus(w.button);  // inside the disabled box: refused, nothing reported
  w.form.userFocus(w.outside);
  EXPECT_EQ(rec.seen, (std::vector<std::pair<std::string, Property>>{{"Button3", Property::Color},
                                                                     {"Button3", Property::Text},
                                                                     {"GroupBox2", Property::Enabled},
                                                                     {"GroupBox2", Property::Geometry},
                                                                     {"GroupBox2", Property::Geometry},
                                                                     {"RzProgressBar1", Property::Percent},
                                                                     {"RzProgressBar1", Property::Percent},
                                                                     {"StatusBar1", Property::Panels},
                                                                     {"Form1", Property::Focus}}));
  EXPECT_EQ(bar.percent(), 100);
  EXPECT_EQ(status.panelText(0), "  Connect COM3");
  EXPECT_EQ(status.panelText(3), "");
  EXPECT_EQ(w.box.geometry(), (Rect{208, 232, 508, 322}));
  EXPECT_EQ(w.box.width(), 300);
}

TEST(ImagePicture, ShowsTheBitmapItHoldsAndReportsEveryRepaint) {
  Window w;
  Recorder rec;
  w.image.setObserver(&rec);
  auto grid = std::make_shared<Bitmap>(720, 249, colors::kBlack);
  w.image.setPicture(grid);
  grid->setPixel(42, 18, colors::kRed);
  w.image.repaint();
  ASSERT_EQ(w.image.picture(), grid);
  EXPECT_EQ(w.image.picture()->pixel(42, 18), colors::kRed);
  EXPECT_EQ(rec.seen, (std::vector<std::pair<std::string, Property>>{{"Image5", Property::Picture},
                                                                     {"Image5", Property::Picture}}));
}

TEST(Colour, WindowColourValuesHaveRedInTheLowByte) {
  EXPECT_EQ(colorFromValue(255), colors::kRed);
  EXPECT_EQ(colorFromValue(14737632), rgb(224, 224, 224));
  EXPECT_EQ(colorValue(colors::kGreen), 0x008000u);
  EXPECT_EQ(colorValue(colors::kLightYellow), 0x80FFFFu);
}

TEST(FormLookup, FindsByNameAndKind) {
  Window w;
  EXPECT_EQ(w.form.find("RzEdit94"), &w.edit);
  EXPECT_EQ(w.form.find("RzEdit999"), nullptr);
  EXPECT_EQ(&w.form.get<Edit>("RzEdit94"), &w.edit);
  EXPECT_THROW(w.form.get<Button>("RzEdit94"), std::out_of_range);
  EXPECT_THROW(w.form.add<Button>("RzEdit94"), std::invalid_argument);
  EXPECT_EQ(w.form.caption(), "Audio ");
  EXPECT_EQ(w.edit.parent(), &w.panel);
  EXPECT_TRUE(w.edit.isInside(w.box));
  EXPECT_FALSE(w.outside.isInside(w.box));
  EXPECT_EQ(w.box.children(), (std::vector<Control*>{&w.panel}));
}

TEST(FormClose, HidesAndRunsOnClose) {
  Window w;
  bool closed = false;
  w.form.onClose = [&] { closed = true; };
  w.form.close();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(w.form.visible());
  EXPECT_FALSE(w.button.showing());
}

}  // namespace
}  // namespace audiodsp
