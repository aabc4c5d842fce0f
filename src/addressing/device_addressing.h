#pragma once
// The target device, ID assignment and broadcast mode of the device bar.
//
// Outside broadcast mode the wire address is the chosen device number minus 1; in broadcast mode
// it stays 0xFF while the chosen number is kept, and becomes the target again when broadcast mode
// ends.
#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

class DeviceAddressing : public FormPart {
 public:
  explicit DeviceAddressing(MainForm& form);

  // The operator picked item `index` of the device list (RzComboBox6Change). Nothing is sent.
  void selectTarget(int index);
  // "OK" or Enter in the new-ID field (Button1Click): tell the connected device its new number.
  void assign();
  // The broadcast button (RzButton8Click); only while disconnected.
  void broadcastSwitch();

  Edit* RzEdit2;      // new device number
  Button* Button1;    // "OK"
  Button* RzButton8;  // "Broadcast" / "Mode"
  Timer Timer2;       // shows the confirmation once the device acknowledged

 private:
  void layOutDeviceBar(bool broadcast);

  MainForm& form_;
};

}  // namespace audiodsp
