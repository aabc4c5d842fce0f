#pragma once
// The four side buttons that move groups between the device and files on the PC: save the current
// group to a group file, load a group file as the current group, save the 20 stored groups to a
// bank file, and load a bank file into the stored slots 1..20.
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

class GroupFiles : public FormPart {
 public:
  // How long a single save waits for the device's current group before polling resumes.
  static constexpr uint32_t kSingleSaveTimeoutMs = 3000;

  explicit GroupFiles(MainForm& form);

  Button& Button6;  // "save one group to PC"
  Button& Button7;  // "load one group to DV"
  Button& Button4;  // "save 8-group to PC"
  Button& Button5;  // "load 8-group to DV"
  Memo& RzMemo1;    // hidden line list of the replies and loaded files

  Timer Timer8;           // stored-group reads of the bank save
  Timer Timer9;           // bank save time-out
  Timer Timer10;          // stored-group writes of the bank load
  Timer Timer12;          // single load progress
  Timer singleSaveTimer;  // single save time-out

 private:
  void saveOne();
  void singleSaveGroup(const std::string& line);
  void singleSaveTimedOut();
  void saveBank();
  void bankReadTick();
  void storedGroup(const std::string& line);
  void bankSaveTimedOut();
  void loadOne();
  void loadBank();
  void bankWriteTick();
  // Reads a chosen file into RzMemo1; false (with the message shown) when it cannot be used.
  bool readIntoMemo(const std::string& path);
  void saveLines(const FileDialogSpec& dialog, const std::vector<std::string>& lines);
  void endExchange();

  MainForm& f_;
  std::string uploadText_;
  int requestCounter_ = 0;
  int replyCounter_ = 0;
  int groupCounter_ = 0;
  int progress_ = 0;
};

}  // namespace audiodsp
