#pragma once
// The program's channel to the device: one serial port at 9600 8N1. Open, start the
// reader, write TxBuffer, close, and the receive pass that appends what arrived to RxText
// as upper-case hex and runs the reply dispatcher once. Everything here runs on the
// user-interface thread except the backend's reader, which only posts notifications.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "link/notify_gate.h"
#include "link/serial_device.h"

namespace audiodsp {

class EventLoop;

// Port number (the n of COMn) to the device path it stands for; filled by the port list.
using PortMap = std::map<int, std::string>;

class SerialLink {
 public:
  static constexpr std::size_t kReadChunk = 1025;  // most bytes read in one receive pass
  static constexpr uint32_t kGatherMs = 50;        // pause before reading, to gather a frame

  SerialLink(EventLoop& loop, SerialDevice& device);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // PortNumber: 0 when no port is chosen, -1 after a disconnect.
  int portNumber() const { return portNumber_; }
  void setPortNumber(int n) { portNumber_ = n; }
  PortMap& portMap() { return portMap_; }
  // Paths served by another backend than the default one (the simulated demo line).
  void routePath(const std::string& path, SerialDevice& device);

  bool portOpen() const { return portOpen_; }
  bool readerRunning() const { return readerRunning_; }
  // Open and working: PortOpen set and the line not lost to a read or write error.
  bool lineUp() const;
  // Why the last OpenPort failed (empty after a successful open).
  std::error_code openError() const { return openError_; }

  std::vector<uint8_t>& txBuffer() { return txBuffer_; }
  std::string& rxText() { return rxText_; }
  NotifyGate& notifyGate() { return gate_; }

  // The reply dispatcher, run once per receive pass that read bytes.
  std::function<void()> onDispatch;

  void openPort();
  void startReader();
  void writePort();
  void closePort();

 private:
  struct Session {};
  void receivePass();
  void breakLine();

  EventLoop& loop_;
  SerialDevice& defaultDevice_;
  SerialDevice* device_;
  std::map<std::string, SerialDevice*> routes_;
  PortMap portMap_;
  int portNumber_ = 0;
  bool portOpen_ = false;
  bool readerRunning_ = false;
  std::error_code openError_;
  NotifyGate gate_;
  std::vector<uint8_t> txBuffer_;
  std::string rxText_;
  // One per open; a notification posted for an earlier open finds it gone and does nothing.
  std::shared_ptr<Session> session_;
};

}  // namespace audiodsp
