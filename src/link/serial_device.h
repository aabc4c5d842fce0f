#pragma once
// A serial line backend: the real termios driver or the in-process wire to the
// simulator. SerialLink drives it from the user-interface thread; only the reader, which
// a backend may run on a thread of its own, calls back from elsewhere.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <system_error>

#include "link/notify_gate.h"

namespace audiodsp {

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the line at `path` for reading and writing, exclusively, set to raw 9600 8N1.
  // On failure nothing stays open and the error names the reason (no such device,
  // permission denied, device busy, settings refused, ...).
  virtual std::error_code open(const std::string& path) = 0;
  virtual bool isOpen() const = 0;

  // Starts watching for input. Whenever bytes are waiting while `gate` is open, the
  // reader closes the gate and calls `notify` (possibly from another thread); it posts
  // again only after the gate has been reopened. A line that fails or hangs up is no
  // longer watched, and the reader never spins on it. False if the reader cannot start.
  virtual bool startReader(NotifyGate& gate, std::function<void()> notify) = 0;
  // Stops the reader and returns once it is gone; never waits for the gate.
  virtual void stopReader() = 0;

  // Number of bytes waiting to be read.
  virtual std::error_code waiting(std::size_t& count) = 0;
  // Reads what is waiting, up to buffer.size() bytes, without blocking.
  virtual std::error_code read(std::span<uint8_t> buffer, std::size_t& got) = 0;
  // Returns when every byte has gone out on the line, or on failure.
  virtual std::error_code write(std::span<const uint8_t> bytes) = 0;

  virtual void discardInput() = 0;  // drop received data not yet read
  virtual void discardAll() = 0;    // drop pending data in both directions
  virtual void raiseDtr() = 0;

  // Stops the reader and releases the line; does nothing when nothing is open, so a
  // handle already released after an error is never released twice.
  virtual void close() = 0;
};

}  // namespace audiodsp
