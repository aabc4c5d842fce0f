#pragma once
// The port list and the connect/disconnect button of the device bar, with the two watchers that
// notice a port that appeared while disconnected or vanished while connected.
//
// The caption of Button3 names the state, not the action: "Disconnect" while disconnected,
// "Connect" while connected; the command decides from it what to do.
#include <string>
#include <vector>

#include "platform/timer.h"
#include "ui/main_form.h"

namespace audiodsp {

class ConnectionControl : public FormPart {
 public:
  explicit ConnectionControl(MainForm& form);

  // FillPortList: the list's items become the names of the ports present now, in ascending text
  // order (COM10 before COM2). Also tells the link which device path each COM number stands for.
  void fillPortList(ListControl& list);
  // The port list set-up: fill RzComboBox1, select its last item, rebuild PortNumbers.
  void setUpPortList();
  // PortNumbers: per port list item, the number after its first three characters, 0 when that is
  // not a number.
  const std::vector<int>& portNumbers() const { return portNumbers_; }

  // The connect/disconnect command (Button3Click).
  void command();

  Timer Timer6;     // re-enables Button3 two seconds after each command
  Timer refurbish;  // port list refresh while disconnected
  Timer brocar1;    // lost-port check while connected

 private:
  void connect();
  void disconnect();
  void refresh();
  void lostPortCheck();
  void rebuildPortNumbers();
  void showOpenFailure(const std::string& portName);

  MainForm& f_;
  std::vector<int> portNumbers_;
};

}  // namespace audiodsp
