#include "sim/sim_serial_device.h"

#include <cerrno>

#include "platform/virtual_loop.h"

namespace audiodsp {

namespace {

std::error_code failure(int err) {
  return {err, std::generic_category()};
}

}  // namespace

SimSerialDevice::SimSerialDevice(VirtualLoop& loop, VirtualLine& line)
    : loop_(loop), line_(line), self_(std::make_shared<SimSerialDevice*>(this)) {}

SimSerialDevice::~SimSerialDevice() {
  close();
}

std::error_code SimSerialDevice::open(const std::string& path) {
  close();
  if (pulled_) return failure(ENOENT);
  path_ = path;
  open_ = true;
  dead_ = false;
  return {};
}

bool SimSerialDevice::startReader(NotifyGate& gate, std::function<void()> notify) {
  if (!open_ || dead_) return false;
  stopReader();
  gate_ = &gate;
  notify_ = std::move(notify);
  watching_ = true;
  gate.onOpen = [this] { check(); };
  check();
  return true;
}

void SimSerialDevice::stopReader() {
  if (gate_ != nullptr) gate_->onOpen = nullptr;
  gate_ = nullptr;
  notify_ = nullptr;
  watching_ = false;
}

std::size_t SimSerialDevice::arrived() const {
  const uint64_t now = loop_.micros();
  std::size_t n = 0;
  while (n < incoming_.size() && incoming_[n].atMicros <= now) ++n;
  return n;
}

std::size_t SimSerialDevice::inFlight() const {
  return incoming_.size() - arrived();
}

std::error_code SimSerialDevice::waiting(std::size_t& count) {
  count = 0;
  if (dead_) return failure(EIO);
  if (!open_) return failure(EBADF);
  count = arrived();
  return {};
}

std::error_code SimSerialDevice::read(std::span<uint8_t> buffer, std::size_t& got) {
  got = 0;
  if (dead_) return failure(EIO);
  if (!open_) return failure(EBADF);
  const std::size_t n = std::min(arrived(), buffer.size());
  for (; got < n; ++got) {
    buffer[got] = incoming_.front().byte;
    incoming_.pop_front();
  }
  return {};
}

std::error_code SimSerialDevice::write(std::span<const uint8_t> bytes) {
  if (dead_) return failure(EIO);
  if (!open_) return failure(EBADF);
  if (bytes.empty()) return {};
  const uint64_t start = loop_.micros();
  const uint64_t end = start + wireMicros(bytes.size());
  if (onWire) onWire({start, end, true, {bytes.begin(), bytes.end()}});
  // The line hears each byte once its last bit is in, in whole milliseconds.
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const uint64_t in = start + wireMicros(i + 1);
    queueReplies(line_.receive(bytes.subspan(i, 1), (in + 999) / 1000));
  }
  loop_.sleepMicros(end - start);  // the caller is blocked until the bytes are out
  check();
  return {};
}

void SimSerialDevice::queueReplies(const std::vector<SimReply>& replies) {
  for (const SimReply& reply : replies) {
    if (reply.bytes.empty()) continue;
    // The device's side of the wire carries one byte at a time: a reply that is ready
    // while an earlier one is still going out follows it.
    const uint64_t start = std::max(lineFreeMicros_, reply.readyAtMs * 1000);
    for (std::size_t i = 0; i < reply.bytes.size(); ++i)
      incoming_.push_back({start + wireMicros(i + 1), reply.bytes[i]});
    lineFreeMicros_ = start + wireMicros(reply.bytes.size());
    if (onWire) onWire({start, lineFreeMicros_, false, reply.bytes});
  }
}

// What the reader thread of a real driver does, run whenever something may have changed:
// input has arrived, or the gate was reopened with input still waiting.
void SimSerialDevice::check() {
  if (!watching_ || gate_ == nullptr || !gate_->isOpen()) return;
  const std::size_t ready = arrived();
  if (ready > 0) {
    gate_->close();
    notify_();
  } else if (!incoming_.empty()) {
    wakeAt(incoming_.front().atMicros);
  }
}

void SimSerialDevice::wakeAt(uint64_t atMicros) {
  // One wake-up for the earliest arrival is enough: each one looks again when it runs.
  if (wakePendingAt_ != 0 && wakePendingAt_ <= atMicros) return;
  wakePendingAt_ = atMicros;
  loop_.postAtMicros(atMicros, [self = std::weak_ptr<SimSerialDevice*>(self_), atMicros] {
    const auto device = self.lock();
    if (!device) return;
    if ((*device)->wakePendingAt_ == atMicros) (*device)->wakePendingAt_ = 0;
    (*device)->check();
  });
}

void SimSerialDevice::discardInput() {
  const std::size_t n = arrived();
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(n));
}

// Writes block until their bytes are out, so nothing of ours waits to be sent.
void SimSerialDevice::discardAll() {
  discardInput();
}

void SimSerialDevice::close() {
  stopReader();
  open_ = false;
  dead_ = false;
  incoming_.clear();
}

void SimSerialDevice::pullLine() {
  pulled_ = true;
  incoming_.clear();
  if (!open_) return;
  dead_ = true;
  // A vanished adapter wakes the reader once, then there is nothing left to watch.
  if (watching_ && gate_ != nullptr && gate_->isOpen()) {
    gate_->close();
    notify_();
  }
  watching_ = false;
}

}  // namespace audiodsp
