#pragma once
// The device's preset slots: the names the device keeps for its stored groups, recalling one of
// the eight offered slots as the current group ("Load") and storing the current group under a name
// ("Save"). The controls sit in the presets box RzGroupBox4.
#include <array>
#include <string>

#include "platform/controls.h"
#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

inline constexpr const char* kOvertime = "overtime，try again.";
inline constexpr const char* kSavedMessage = "Successfully save.";

class PresetSlots : public FormPart {
 public:
  static constexpr int kOfferedSlots = 8;
  static constexpr int kNameLength = 20;
  static constexpr int kProgressTicks = 10;

  explicit PresetSlots(MainForm& form);

  // The 20 names as the device sent them, 20 characters each (NUL bytes included); empty before
  // the first names reply.
  const std::array<std::string, 20>& presetNames() const { return names_; }
  // A name as shown: up to its first NUL byte.
  static std::string shownName(const std::string& name);

  // The load list text of slot position i: "Usr0:" .. "Pre7:" and the shown name.
  static std::string itemText(int position, const std::string& name);

  ComboBox& loadList;  // RzComboBox10
  Button& loadButton;  // RzButton9
  ComboBox& saveList;  // RzComboBox11
  Edit& nameField;     // RzEdit1
  Button& saveButton;  // RzButton10

  Timer Timer3;   // load progress
  Timer Timer22;  // load time-out
  Timer Timer11;  // "Successfully save."

 private:
  void namesReply(const std::string& text);
  void load();
  void loadFinished();
  void loadTimedOut();
  void save();
  void saveSlotChosen();

  MainForm& f_;
  std::array<std::string, 20> names_{};
  int progress_ = 0;
  bool selectAllArmed_ = true;  // the next click into the name field selects the whole text
};

}  // namespace audiodsp
