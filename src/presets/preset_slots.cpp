#include "presets/preset_slots.h"

#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {
namespace {

constexpr const char* kPrefixes[PresetSlots::kOfferedSlots] = {
    "Usr0:", "Usr1:", "Usr2:", "Usr3:", "Pre4:", "Pre5:", "Pre6:", "Pre7:"};
constexpr int kProgressLeft = 208;
constexpr int kProgressTop = 232;

bool isBlankOrControl(unsigned char ch) {
  return ch <= ' ' || ch == 0x7F;
}

std::string trimmed(const std::string& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && isBlankOrControl(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && isBlankOrControl(static_cast<unsigned char>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

}  // namespace

PresetSlots::PresetSlots(MainForm& form)
    : loadList(form.form.add<ComboBox>("RzComboBox10", form.c.RzGroupBox4)),
      loadButton(form.form.add<Button>("RzButton9", form.c.RzGroupBox4)),
      saveList(form.form.add<ComboBox>("RzComboBox11", form.c.RzGroupBox4)),
      nameField(form.form.add<Edit>("RzEdit1", form.c.RzGroupBox4)),
      saveButton(form.form.add<Button>("RzButton10", form.c.RzGroupBox4)),
      Timer3(makeTimer(form.loop, timers::Timer3)),
      Timer22(makeTimer(form.loop, timers::Timer22)),
      Timer11(makeTimer(form.loop, timers::Timer11)),
      f_(form) {
  loadList.setBounds(8, 14, 120, 22);
  loadButton.setBounds(134, 14, 58, 22);
  loadButton.setCaption("Load");
  saveList.setBounds(8, 50, 60, 22);
  nameField.setBounds(72, 50, 56, 22);
  nameField.setMaxLength(19);
  saveButton.setBounds(134, 50, 58, 22);
  saveButton.setCaption("Save");
  std::vector<std::string> prefixes(std::begin(kPrefixes), std::end(kPrefixes));
  loadList.setItems(prefixes);
  saveList.setItems(prefixes);
  loadList.setItemIndex(0);
  saveList.setItemIndex(0);

  loadButton.onClick = [this] { load(); };
  saveButton.onClick = [this] { save(); };
  saveList.onChange = [this] { saveSlotChosen(); };
  nameField.onKeyPress = [this](char& key) {
    const unsigned char k = static_cast<unsigned char>(key);
    if (key == kKeyEnter) {
      key = 0;
      save();
      return;
    }
    if (key != kKeyBackspace && (k < ' ' || k > '~')) key = 0;
  };
  nameField.onExit = [this] { selectAllArmed_ = true; };
  nameField.onClick = [this] {
    if (!selectAllArmed_) return;
    nameField.selectAll();
    selectAllArmed_ = false;
  };

  Timer3.onTimer = [this] {
    ++progress_;
    f_.c.RzProgressBar1->setPercent(progress_ * 10);
    if (progress_ >= kProgressTicks) Timer3.stop();
  };
  Timer22.onTimer = [this] { loadTimedOut(); };
  Timer11.onTimer = [this] {
    Timer11.stop();
    f_.sendTable.mark(SendTable::kSystemReadSlot);
    f_.dialogs.message(kSavedMessage);
  };

  ReplyHandlers& h = form.dispatcher.handlers;
  h.presetNames = [this](const std::string& text) { namesReply(text); };
  h.presetLoadFinished = [this] { loadFinished(); };
  h.presetSaveAcknowledged = [this] { Timer11.start(); };
}

std::string PresetSlots::shownName(const std::string& name) {
  return name.substr(0, name.find('\0'));
}

std::string PresetSlots::itemText(int position, const std::string& name) {
  return (position < 4 ? "Usr" : "Pre") + std::to_string(position) + ":" + shownName(name);
}

void PresetSlots::namesReply(const std::string& text) {
  for (size_t k = 0; k < names_.size(); ++k) {
    std::string& name = names_[k];
    name.assign(kNameLength, '\0');
    for (size_t j = 0; j < kNameLength; ++j)
      name[j] = static_cast<char>(hexByteAt(text, kDataOffset + k * kNameLength + j).value_or(0));
  }
  std::vector<std::string> items;
  for (int i = 0; i < kOfferedSlots; ++i) items.push_back(kPrefixes[i] + shownName(names_[i]));
  loadList.setItems(std::move(items));
  loadList.setItemIndex(0);
  saveList.setItemIndex(0);
  saveSlotChosen();
  // The dispatcher then reads the device settings and starts polling.
}

void PresetSlots::saveSlotChosen() {
  const int i = saveList.itemIndex();
  if (i >= 0 && i < static_cast<int>(names_.size())) nameField.setText(shownName(names_[i]));
}

void PresetSlots::load() {
  if (!f_.portOpen()) return;
  f_.keepGraphPanel = false;
  f_.closeCurrentPanel();
  f_.flags.presetLoadPending = true;
  f_.chain.stopPolling();
  f_.waitProcessingMessages(50);
  f_.link.rxText().clear();
  f_.link.txBuffer().clear();
  const int slot = loadList.itemIndex() + 1;
  f_.chain.writeNow(groupReadFrame(f_.deviceId, static_cast<uint8_t>(slot)));
  Timer22.start();
  progress_ = 0;
  Timer3.start();
  f_.showProgressBox(kProgressLeft, kProgressTop, 0);
  f_.setExchangeLock(true);
}

void PresetSlots::loadFinished() {
  // The dispatcher has applied the recalled group, queued the settings read and resumes polling.
  Timer22.stop();
  f_.hideProgressBox();
  f_.setExchangeLock(false);
}

void PresetSlots::loadTimedOut() {
  f_.flags.presetLoadPending = false;
  Timer22.stop();
  f_.hideProgressBox();
  f_.setExchangeLock(false);
  f_.chain.startPolling();
  f_.dialogs.message(kOvertime);
}

void PresetSlots::save() {
  if (!f_.portOpen()) return;
  const std::string name = trimmed(nameField.text());
  nameField.setText(name);
  f_.chain.stopPolling();
  f_.flags.saveAckPending = true;
  const int position = saveList.itemIndex();
  f_.link.rxText().clear();
  f_.link.txBuffer().clear();
  f_.chain.writeNow(storeFrame(f_.deviceId, static_cast<uint8_t>(position + 1), name));
  loadList.setItem(position, itemText(position, name));
  if (position >= 0 && position < static_cast<int>(names_.size())) names_[position] = name;
  f_.waitProcessingMessages(100);
  f_.chain.startPolling();
}

}  // namespace audiodsp
