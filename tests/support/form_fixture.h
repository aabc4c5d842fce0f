#pragma once
// A whole main window on the virtual clock, talking to simulated devices over the simulated wire.
// Tests click, type and select through the controls' user entry points and read the frames that went out.
#include <memory>
#include <string>
#include <vector>

#include "platform/scripted_dialogs.h"
#include "platform/virtual_loop.h"
#include "sim/sim_serial_device.h"
#include "sim/virtual_line.h"
#include "ui/main_form.h"
#include "ui/port_source.h"

namespace audiodsp::testing {

inline SimConfig simDevices(std::vector<int> ids) {
  SimConfig cfg;
  cfg.ids = std::move(ids);
  return cfg;
}

class FormFixture {
 public:
  explicit FormFixture(SimConfig cfg = simDevices({1}),
                       std::vector<PortInfo> portList = {{"COM3", "/dev/audiodsp-demo", "simulated line"}})
      : line(std::move(cfg)), wire(loop, line), ports(std::move(portList)) {
    wire.onWire = [this](const WireEvent& e) {
      if (e.fromHost) sent.push_back(e);
    };
  }

  // Creates the window (FormCreate runs; the timers that run from the start are armed).
  MainForm& open() {
    form = std::make_unique<MainForm>(FormEnvironment{loop, dialogs, wire, ports});
    return *form;
  }
  MainForm& f() { return *form; }
  template <class T>
  T& get(const std::string& name) {
    return form->form.get<T>(name);
  }
  void run(uint32_t ms) { loop.advance(ms); }
  // Opens the window and lets the start-up search run until the whole window shows; the frames of the
  // search are forgotten.
  MainForm& startUp() {
    open();
    run(100);
    sent.clear();
    return *form;
  }
  // Connects to the selected device and lets the handshake (group, names, system block) finish; the
  // frames it sent are forgotten.
  void connect() {
    form->c.Button3->userClick();
    run(3000);
    sent.clear();
  }

  // Frames the program wrote, in order, as upper-case hex without blanks.
  std::vector<std::string> sentHex() const {
    std::vector<std::string> out;
    for (const WireEvent& e : sent) {
      static const char* kDigits = "0123456789ABCDEF";
      std::string h;
      for (uint8_t b : e.bytes) {
        h += kDigits[b >> 4];
        h += kDigits[b & 15];
      }
      out.push_back(h);
    }
    return out;
  }

  VirtualLoop loop;
  ScriptedDialogs dialogs;
  VirtualLine line;
  SimSerialDevice wire;
  FixedPortSource ports;
  std::vector<WireEvent> sent;
  std::unique_ptr<MainForm> form;
};

}  // namespace audiodsp::testing
