#include "addressing/device_search.h"

#include <string>

#include "protocol/frame_codec.h"
#include "protocol/timer_map.h"
#include "ui/connection_control.h"

namespace audiodsp {
namespace {

constexpr int kStartupAddresses = 10;
constexpr int kStartupListed = 11;  // ports and addresses 0..10 are listed after the start-up search
constexpr int kEntriesPerLine = 5;

}  // namespace

DeviceSearch::DeviceSearch(MainForm& form)
    : Button8(&form.form.add<Button>("Button8", form.c.GroupBox3)),
      Button9(&form.form.add<Button>("Button9", form.c.GroupBox3)),
      Button2(&form.form.add<Button>("Button2", form.c.RzGroupBox3)),
      RzLabel6(&form.form.add<Label>("RzLabel6", form.c.RzGroupBox2)),
      Memo1(&form.form.add<Memo>("Memo1", form.c.RzGroupBox2)),
      Timer124(makeTimer(form.loop, timers::Timer124)),
      form_(form) {
  Button8->setBounds(4, 6, 114, 22);
  Button8->setCaption("search device id");
  Button8->onClick = [this] { fullSearch(); };
  Button9->setBounds(4, 30, 114, 22);
  Button9->setCaption("search result");
  Button9->onClick = [this] { showResultBox(); };
  Button2->setBounds(316, 8, 72, 22);
  Button2->setCaption("Cancel");
  Button2->onClick = [this] { cancel_ = true; };
  RzLabel6->setBounds(10, 6, 300, 16);
  RzLabel6->setCaption("search result :none     ");
  Memo1->setBounds(10, 26, 580, 128);
  Memo1->setReadOnly(true);
  Memo1->hide();

  Timer124.onTimer = [this] {
    Timer124.stop();
    startupSearch();
  };
  form.dispatcher.handlers.searchHit = [this] { mark(); };
}

bool DeviceSearch::hit(int port, int address) const {
  return port >= 0 && port < kPortRows && address >= 0 && address < kAddresses && hits_[port][address];
}

void DeviceSearch::mark() {
  const int port = form_.link.portNumber();
  // A port numbered outside the table is never probed, and after the listing the number is -1:
  // a late reply then marks nothing.
  if (port >= 0 && port < kPortRows && probedAddress_ >= 0 && probedAddress_ < kAddresses)
    hits_[port][probedAddress_] = true;
}

void DeviceSearch::fullSearch() {
  if (form_.portOpen()) {
    form_.dialogs.message("please disconnect and try again.");
    return;
  }
  cancel_ = false;
  found_ = 0;
  form_.keepGraphPanel = false;
  form_.closeCurrentPanel();
  lockWindow(true);
  form_.c.RzGroupBox3->show();
  form_.c.RzProgressBar2->setPercent(0);
  form_.flags.searchRunning = true;
  for (auto& row : hits_) row.reset();

  sweep({kAddresses, 100, true});
  listResults(kPortRows, kAddresses);
  if (form_.portOpen()) form_.link.closePort();

  lockWindow(false);
  form_.c.RzGroupBox3->hide();
  form_.c.RzProgressBar2->setPercent(0);
  form_.flags.searchRunning = false;
  form_.currentPanel = kSearchResultPanel;
  form_.c.RzGroupBox2->show();
}

void DeviceSearch::startupSearch() {
  cancel_ = false;
  found_ = 0;
  form_.flags.searchRunning = true;
  for (int port = 0; port < kStartupAddresses; ++port)
    for (int a = 0; a < kStartupAddresses; ++a) hits_[port][a] = false;

  sweep({kStartupAddresses, 500, false});
  listResults(kStartupListed, kStartupListed);
  if (form_.portOpen()) form_.link.closePort();

  FormControls& c = form_.c;
  for (Control* region : {static_cast<Control*>(c.GroupBox1), static_cast<Control*>(c.GroupBox2),
                          static_cast<Control*>(c.GroupBox3), static_cast<Control*>(c.FileMenu),
                          static_cast<Control*>(c.HelpMenu)})
    region->show();
  c.RzGroupBox3->hide();
  form_.flags.searchRunning = false;
  form_.currentPanel = kSearchResultPanel;
  c.RzGroupBox2->show();
}

// The ports are visited from the last list entry to the first. The list is taken as it stands at
// the start: the port list refresh may replace it while the search waits between ports.
void DeviceSearch::sweep(const Sweep& s) {
  SerialLink& link = form_.link;
  const ConnectionControl* connection = form_.part<ConnectionControl>();
  const std::vector<int> ports = connection ? connection->portNumbers() : std::vector<int>{};
  const int n = static_cast<int>(ports.size());
  for (int q = 1; q <= n; ++q) {
    form_.loop.processEvents();
    if (cancel_) return;
    const int port = ports[n - q];
    if (port < 0 || port >= kPortRows) continue;  // no row to record its hits in
    link.setPortNumber(port);
    if (link.portOpen()) {
      link.closePort();
      form_.waitProcessingMessages(100);
    }
    link.openPort();
    if (!link.portOpen()) continue;
    link.startReader();
    if (!link.readerRunning() && s.stopOnPortError) return;
    for (int a = 0; a < s.addresses; ++a) {
      form_.loop.processEvents();
      if (cancel_) break;
      form_.waitProcessingMessages(s.waitMs);
      probe(a);
      form_.c.RzProgressBar2->setPercent(((q - 1) * s.addresses + a + 1) * 100 / (n * s.addresses));
      if (s.stopOnPortError && !link.lineUp()) break;  // the write failed: on to the next port
    }
  }
}

void DeviceSearch::probe(int address) {
  SerialLink& link = form_.link;
  link.rxText().clear();
  link.txBuffer() = pollFrame(static_cast<uint8_t>(address));
  link.writePort();
  probedAddress_ = address;
}

void DeviceSearch::listResults(int portLimit, int addressLimit) {
  RzLabel6->setCaption("search result :none     ");
  Memo1->clear();
  Memo1->hide();
  form_.link.setPortNumber(-1);
  for (int p = 0; p < portLimit; ++p)
    for (int a = 0; a < addressLimit; ++a)
      if (hits_[p][a]) appendEntry(p, a);
}

// The first line holds four entries and every later line five, the way the list always read.
void DeviceSearch::appendEntry(int port, int address) {
  const int k = ++found_;
  std::vector<std::string> lines = Memo1->lines();
  if (k % kEntriesPerLine == 0) lines.emplace_back();
  const size_t line = static_cast<size_t>(k / kEntriesPerLine);
  if (lines.size() <= line) lines.resize(line + 1);
  lines[line] += "COM" + std::to_string(port) + "--" + "Device ID" + std::to_string(address + 1) + " , ";
  Memo1->setLines(std::move(lines));
  RzLabel6->setCaption("search result :     ");
  Memo1->show();
}

void DeviceSearch::showResultBox() {
  if (form_.currentPanel != kSearchResultPanel) {
    form_.keepGraphPanel = false;
    form_.closeCurrentPanel();
  }
  form_.currentPanel = kSearchResultPanel;
  form_.c.RzGroupBox2->show();
}

void DeviceSearch::lockWindow(bool locked) {
  FormControls& c = form_.c;
  for (Control* ctl : {static_cast<Control*>(c.GroupBox1), static_cast<Control*>(c.GroupBox2),
                       static_cast<Control*>(c.GroupBox3), static_cast<Control*>(c.FileMenu),
                       static_cast<Control*>(c.HelpMenu)})
    ctl->setEnabled(!locked);
}

}  // namespace audiodsp
