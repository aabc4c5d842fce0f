#pragma once
// The in-process wire between the program and the virtual amplifier line, on the virtual
// clock. Each byte takes 10 bit times at 9600 baud (1.0417 ms) each way: a write blocks
// for the time its bytes spend on the wire and hands each byte to the line as it arrives;
// the line's replies become readable byte by byte as their arrival times pass.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "link/serial_device.h"
#include "sim/virtual_line.h"

namespace audiodsp {

class VirtualLoop;

// One run of bytes on the wire, for traces and tests: a host write or a reply piece.
struct WireEvent {
  uint64_t startMicros = 0;  // the first bit goes out
  uint64_t endMicros = 0;    // the last byte has arrived
  bool fromHost = false;
  std::vector<uint8_t> bytes;
};

class SimSerialDevice : public SerialDevice {
 public:
  // Time on the wire of `bytes` bytes, in microseconds, truncated.
  static constexpr uint64_t wireMicros(uint64_t bytes) { return bytes * 10'000'000 / 9600; }

  SimSerialDevice(VirtualLoop& loop, VirtualLine& line);
  ~SimSerialDevice() override;
  SimSerialDevice(const SimSerialDevice&) = delete;
  SimSerialDevice& operator=(const SimSerialDevice&) = delete;

  std::error_code open(const std::string& path) override;
  bool isOpen() const override { return open_; }
  bool startReader(NotifyGate& gate, std::function<void()> notify) override;
  void stopReader() override;
  std::error_code waiting(std::size_t& count) override;
  std::error_code read(std::span<uint8_t> buffer, std::size_t& got) override;
  std::error_code write(std::span<const uint8_t> bytes) override;
  void discardInput() override;
  void discardAll() override;
  void raiseDtr() override { dtr_ = true; }
  void close() override;

  // The adapter vanishes: opening, querying, reading and writing fail from now on, and
  // the reader stops watching after one last notification, as a real driver does.
  void pullLine();
  // The adapter is plugged in again (a closed port can then be opened again).
  void plugLine() { pulled_ = false; }
  bool pulled() const { return pulled_; }

  bool dtr() const { return dtr_; }
  const std::string& path() const { return path_; }
  // Bytes the line has sent that have not arrived yet.
  std::size_t inFlight() const;

  std::function<void(const WireEvent&)> onWire;

 private:
  struct Incoming {
    uint64_t atMicros;
    uint8_t byte;
  };

  void queueReplies(const std::vector<SimReply>& replies);
  std::size_t arrived() const;
  void check();
  void wakeAt(uint64_t atMicros);

  VirtualLoop& loop_;
  VirtualLine& line_;
  std::string path_;
  bool open_ = false;
  bool pulled_ = false;
  bool dead_ = false;  // this open lost its line; stays so until closed
  bool dtr_ = false;
  std::deque<Incoming> incoming_;  // in arrival order
  uint64_t lineFreeMicros_ = 0;    // when the device's side of the wire is free again
  NotifyGate* gate_ = nullptr;     // set while the reader runs
  bool watching_ = false;
  std::function<void()> notify_;
  uint64_t wakePendingAt_ = 0;  // 0: no wake-up queued
  // Wake-ups queued on the loop hold this weakly, so they do nothing once the device is gone.
  std::shared_ptr<SimSerialDevice*> self_;
};

}  // namespace audiodsp
