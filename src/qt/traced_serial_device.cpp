#include "qt/traced_serial_device.h"

#include "protocol/trace.h"

namespace audiodsp {

TracedSerialDevice::TracedSerialDevice(SerialDevice& inner, Sink sink)
    : inner_(inner), sink_(std::move(sink)), origin_(std::chrono::steady_clock::now()) {}

uint64_t TracedSerialDevice::elapsedMs() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin_)
          .count());
}

std::error_code TracedSerialDevice::read(std::span<uint8_t> buffer, std::size_t& got) {
  const std::error_code error = inner_.read(buffer, got);
  if (!error && got > 0) sink_(formatTraceLine(elapsedMs(), TraceDirection::Rx, buffer.first(got)));
  return error;
}

std::error_code TracedSerialDevice::write(std::span<const uint8_t> bytes) {
  if (!bytes.empty()) sink_(formatTraceLine(elapsedMs(), TraceDirection::Tx, bytes));
  return inner_.write(bytes);
}

}  // namespace audiodsp
