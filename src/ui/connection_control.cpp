#include "ui/connection_control.h"

#include <algorithm>
#include <charconv>

#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"

namespace audiodsp {
namespace {

constexpr const char* kConnectedCaption = "Connect";
constexpr const char* kDisconnectedCaption = "Disconnect";
constexpr const char* kNoPort = "No port.";
constexpr const char* kBroadcastNotice =
    "In broadcast mode must put all equipment unified data, otherwise cannot broadcast mode.";
constexpr int kOpenFailurePanel = 1;  // status bar panel that says why a port did not open

// The decimal number after the first three characters of a port name ("COM3" gives 3), 0 when
// that text is not a number.
int portNumberOf(const std::string& name) {
  if (name.size() <= 3) return 0;
  const char* first = name.data() + 3;
  const char* last = name.data() + name.size();
  int number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  return error == std::errc() && end == last ? number : 0;
}

}  // namespace

ConnectionControl::ConnectionControl(MainForm& form)
    : Timer6(makeTimer(form.loop, timers::Timer6)),
      refurbish(makeTimer(form.loop, timers::refurbish)),
      brocar1(makeTimer(form.loop, timers::brocar1)),
      f_(form) {
  Timer6.onTimer = [this] {
    Timer6.stop();
    f_.c.Button3->setEnabled(true);
  };
  refurbish.onTimer = [this] { refresh(); };
  brocar1.onTimer = [this] { lostPortCheck(); };
  f_.commands.connect = [this] { command(); };
  if (f_.c.StatusBar1->panels().size() <= kOpenFailurePanel) f_.c.StatusBar1->addPanel(520);
  setUpPortList();
}

void ConnectionControl::fillPortList(ListControl& list) {
  std::vector<std::string> names;
  for (const PortInfo& port : f_.ports.ports()) {
    names.push_back(port.name);
    if (const int number = portNumberOf(port.name); number != 0) f_.link.portMap()[number] = port.path;
  }
  std::sort(names.begin(), names.end());
  list.setItems(std::move(names));
}

void ConnectionControl::setUpPortList() {
  ComboBox& ports = *f_.c.RzComboBox1;
  fillPortList(ports);
  ports.setItemIndex(ports.itemCount() - 1);
  if (ports.itemCount() > 0) rebuildPortNumbers();
}

void ConnectionControl::rebuildPortNumbers() {
  portNumbers_.clear();
  for (const std::string& name : f_.c.RzComboBox1->items()) portNumbers_.push_back(portNumberOf(name));
}

void ConnectionControl::command() {
  Timer6.start();
  f_.c.Button3->setEnabled(false);
  if (f_.c.Button3->caption() == kDisconnectedCaption) {
    connect();
  } else {
    disconnect();
  }
}

void ConnectionControl::connect() {
  FormControls& c = f_.c;
  SerialLink& link = f_.link;
  const int selected = c.RzComboBox1->itemIndex();
  link.setPortNumber(
      selected >= 0 && selected < static_cast<int>(portNumbers_.size()) ? portNumbers_[selected] : 0);
  f_.keepGraphPanel = false;
  f_.closeCurrentPanel();
  f_.flags.presetLoadPending = false;
  f_.flags.searchRunning = false;
  f_.chain.frameProgress = FrameProgress{};

  f_.hideProgressBox();
  for (Control* box : {static_cast<Control*>(c.RzGroupBox8), static_cast<Control*>(c.GroupBox1),
                       static_cast<Control*>(c.GroupBox2), static_cast<Control*>(c.GroupBox3)})
    box->setEnabled(true);

  // A link still open is closed first, and the line gets a moment before the next open.
  if (link.portOpen()) {
    link.closePort();
    f_.waitProcessingMessages(100);
  }
  f_.sendTable.clearAll();

  link.openPort();
  if (!link.portOpen()) {
    showOpenFailure(c.RzComboBox1->text());
    link.setPortNumber(0);
    f_.dialogs.message(kNoPort);
    return;
  }
  c.StatusBar1->setPanelText(kOpenFailurePanel, "");
  link.startReader();

  if (f_.deviceId != kBroadcastAddress) {
    link.rxText().clear();
    link.txBuffer().clear();
    f_.chain.writeNow(groupReadFrame(f_.deviceId, 0));
    f_.chain.startHandshakeTimers();
  } else {
    c.RzComboBox6->setEnabled(false);
    c.RzComboBox1->setEnabled(false);
    if (f_.dialogs.question("Notice", kBroadcastNotice, DialogIcon::Question, Answer::No) != Answer::Yes) {
      c.Button3->setCaption(kConnectedCaption);
      command();
      return;
    }
    f_.setExchangeLock(true);
    c.RzGroupBox16->moveTo(208, 232);
    c.RzGroupBox16->show();
  }

  if (link.portNumber() != 0) {
    c.StatusBar1->setPanelText(0, "  Connect " + c.RzComboBox1->text());
    c.Button3->setCaption(kConnectedCaption);
  }
}

void ConnectionControl::disconnect() {
  FormControls& c = f_.c;
  c.RzGroupBox16->hide();
  f_.hideProgressBox();
  for (Control* ctl : {static_cast<Control*>(c.RzGroupBox8), static_cast<Control*>(c.GroupBox1),
                       static_cast<Control*>(c.GroupBox2), static_cast<Control*>(c.GroupBox3),
                       static_cast<Control*>(c.RzComboBox6), static_cast<Control*>(c.RzGroupBox4),
                       static_cast<Control*>(c.RzComboBox1), static_cast<Control*>(c.FileMenu),
                       static_cast<Control*>(c.HelpMenu)})
    ctl->setEnabled(true);

  f_.chain.stopPolling();
  // The handshake of this link is over; its time-outs must not fire for a later connection.
  f_.chain.chcon.stop();
  f_.chain.chcon112.stop();
  f_.chain.chcon188.stop();
  f_.link.txBuffer().clear();
  f_.link.setPortNumber(-1);
  f_.waitProcessingMessages(50);
  f_.link.closePort();

  c.StatusBar1->setPanelText(0, "  Disconnect");
  c.Button3->setCaption(kDisconnectedCaption);
}

void ConnectionControl::showOpenFailure(const std::string& portName) {
  const auto path = f_.link.portMap().find(f_.link.portNumber());
  std::string text = portName.empty() ? std::string("no port chosen") : portName;
  if (path != f_.link.portMap().end()) text += " (" + path->second + ")";
  if (!portName.empty()) text += ": " + f_.link.openError().message();
  f_.c.StatusBar1->setPanelText(kOpenFailurePanel, text);
}

void ConnectionControl::refresh() {
  if (f_.link.portOpen()) return;
  ComboBox& check = *f_.c.RzComboBox7;
  fillPortList(check);
  if (check.items() == f_.c.RzComboBox1->items()) return;
  setUpPortList();
}

void ConnectionControl::lostPortCheck() {
  // A search opens the ports itself and leaves the connected port's name behind in the list.
  if (!f_.link.portOpen() || f_.flags.searchRunning) return;
  ComboBox& check = *f_.c.RzComboBox8;
  fillPortList(check);
  if (check.indexOf(f_.c.RzComboBox1->text()) >= 0) return;
  command();
  f_.dialogs.message(kNoPort);
}

}  // namespace audiodsp
