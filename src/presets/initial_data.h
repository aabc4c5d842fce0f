#pragma once
// Initial data for broadcast operation. Broadcast frames reach every device and none answers, so
// broadcasting single parameters only works when all devices start from the same group. Before
// the editor is used in broadcast mode, the operator gives every device the same current group:
// read from one device by its own ID, or taken from a group file, and written to all of them
// through the broadcast address. The choice is offered in the box RzGroupBox16.
#include <string>

#include "platform/controls.h"
#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

inline constexpr const char* kBadIdMessage = "Please input 1~255 number.";
inline constexpr const char* kNoSourceMessage =
    "The device ID no response, please try again or check the ID is correct.";

class InitialData : public FormPart {
 public:
  explicit InitialData(MainForm& form);

  Label& title;               // "Specify one device ID for initial data:"
  Edit& RzEdit3;              // source device ID
  Button& Button10;           // "OK"
  Button& Button11;           // "From the computer into a group as the initial data"
  SpeedButton& SpeedButton3;  // close glyph: disconnects
  Memo& RzMemo2;              // hidden line list of the loaded file

  Timer Timer333;  // progress of the way from a device
  Timer Timer332;  // source device time-out
  Timer trunon1;   // starts the broadcast writes once the source's group is here
  Timer Timer342;  // progress of the way from a file

  int sourceId() const { return sourceId_; }

 private:
  void fromDevice();
  void fromFile();
  void sourceTimedOut();
  void broadcastWrites(uint32_t secondPauseMs);
  void progressTick(Timer& timer);

  MainForm& f_;
  std::string uploadText_;
  int sourceId_ = 0;  // wire ID of the source device
  int progress_ = 0;
};

}  // namespace audiodsp
