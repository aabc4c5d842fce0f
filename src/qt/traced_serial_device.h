#pragma once
// A serial backend that prints every write (TX) and every read (RX) as a trace line with the time since
// the program started, then passes the call on to the real backend.
#include <chrono>
#include <functional>

#include "link/serial_device.h"

namespace audiodsp {

class TracedSerialDevice final : public SerialDevice {
 public:
  using Sink = std::function<void(const std::string& line)>;
  TracedSerialDevice(SerialDevice& inner, Sink sink);

  std::error_code open(const std::string& path) override { return inner_.open(path); }
  bool isOpen() const override { return inner_.isOpen(); }
  bool startReader(NotifyGate& gate, std::function<void()> notify) override {
    return inner_.startReader(gate, std::move(notify));
  }
  void stopReader() override { inner_.stopReader(); }
  std::error_code waiting(std::size_t& count) override { return inner_.waiting(count); }
  std::error_code read(std::span<uint8_t> buffer, std::size_t& got) override;
  std::error_code write(std::span<const uint8_t> bytes) override;
  void discardInput() override { inner_.discardInput(); }
  void discardAll() override { inner_.discardAll(); }
  void raiseDtr() override { inner_.raiseDtr(); }
  void close() override { inner_.close(); }

 private:
  uint64_t elapsedMs() const;

  SerialDevice& inner_;
  Sink sink_;
  const std::chrono::steady_clock::time_point origin_;
};

}  // namespace audiodsp
