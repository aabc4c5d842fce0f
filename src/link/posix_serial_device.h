#pragma once
// The termios driver: USB adapters (ttyUSB, ttyACM), on-board UARTs and pseudo-terminals.
// The reader thread sleeps in poll() on the line and on a wake-up eventfd, so it costs
// nothing while the line is quiet and stops at once when asked.
#include <atomic>
#include <thread>

#include "link/serial_device.h"

namespace audiodsp {

class PosixSerialDevice : public SerialDevice {
 public:
  // A write that makes no progress for this long fails instead of freezing the caller
  // (a flow-controlled line that never clears, a terminal nobody reads).
  static constexpr int kWriteStallMs = 5000;

  explicit PosixSerialDevice(int writeStallMs = kWriteStallMs) : writeStallMs_(writeStallMs) {}
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  std::error_code open(const std::string& path) override;
  bool isOpen() const override { return fd_ >= 0; }
  bool startReader(NotifyGate& gate, std::function<void()> notify) override;
  void stopReader() override;
  std::error_code waiting(std::size_t& count) override;
  std::error_code read(std::span<uint8_t> buffer, std::size_t& got) override;
  std::error_code write(std::span<const uint8_t> bytes) override;
  void discardInput() override;
  void discardAll() override;
  void raiseDtr() override;
  void close() override;

  int fd() const { return fd_; }
  // True while the reader still polls the line (false once the line hung up or failed).
  bool watching() const { return watching_.load(); }

 private:
  void readerLoop(std::stop_token stop, NotifyGate& gate, const std::function<void()>& notify);
  void closeWake();

  const int writeStallMs_;
  int fd_ = -1;
  int wakeFd_ = -1;
  std::jthread reader_;
  std::atomic<bool> watching_{false};
};

}  // namespace audiodsp
