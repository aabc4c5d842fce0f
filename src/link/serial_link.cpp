#include "link/serial_link.h"

#include <algorithm>
#include <array>

#include "platform/event_loop.h"

namespace audiodsp {

SerialLink::SerialLink(EventLoop& loop, SerialDevice& device)
    : loop_(loop), defaultDevice_(device), device_(&device) {}

SerialLink::~SerialLink() {
  closePort();
}

void SerialLink::routePath(const std::string& path, SerialDevice& device) {
  routes_[path] = &device;
}

bool SerialLink::lineUp() const {
  return portOpen_ && device_->isOpen();
}

void SerialLink::openPort() {
  closePort();
  gate_.open();
  openError_ = {};
  const auto port = portMap_.find(portNumber_);
  if (port == portMap_.end()) {
    openError_ = std::make_error_code(std::errc::no_such_device);
    return;
  }
  const auto route = routes_.find(port->second);
  device_ = route != routes_.end() ? route->second : &defaultDevice_;
  if (const std::error_code error = device_->open(port->second)) {
    openError_ = error;
    return;
  }
  portOpen_ = true;
  session_ = std::make_shared<Session>();
}

void SerialLink::startReader() {
  if (!portOpen_ || readerRunning_ || !device_->isOpen()) return;
  // The reader may call this from its own thread: it only posts. The pass runs later on
  // the loop's thread, and not at all when the link was closed (or reopened) meanwhile.
  const std::weak_ptr<Session> session = session_;
  readerRunning_ = device_->startReader(gate_, [this, session] {
    loop_.post([this, session] {
      if (!session.expired()) receivePass();
    });
  });
  // Without a reader no reply will come and the time-outs report the link; the line is
  // only told that the host is there.
  if (!readerRunning_) device_->raiseDtr();
}

void SerialLink::receivePass() {
  const std::shared_ptr<Session> session = session_;
  loop_.sleep(kGatherMs);  // let the rest of a frame arrive
  std::size_t count = 0;
  if (device_->waiting(count)) {
    device_->discardInput();
  } else if (count > 0) {
    std::array<uint8_t, kReadChunk> buffer;
    std::size_t got = 0;
    if (device_->read({buffer.data(), std::min(count, kReadChunk)}, got)) {
      breakLine();
      return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    rxText_.reserve(rxText_.size() + 2 * got);
    for (std::size_t i = 0; i < got; ++i) {
      rxText_ += kHex[buffer[i] >> 4];
      rxText_ += kHex[buffer[i] & 0x0F];
    }
    if (got > 0 && onDispatch) onDispatch();
  }
  // Reopened on every way out, so a close can never find it shut for good. A pass that
  // outlived its link (closed inside the dispatcher) leaves the new link's gate alone.
  // Bytes beyond this pass's share are still waiting, so the reader posts the next pass.
  if (session == session_) gate_.open();
}

void SerialLink::writePort() {
  if (!portOpen_ || txBuffer_.empty()) return;
  const std::vector<uint8_t> bytes = txBuffer_;
  if (device_->write(bytes)) breakLine();
}

// A read or write failed: the line is released and the reader stopped, but PortOpen stays
// set, so the senders carry on failing quietly until a time-out or the user disconnects.
void SerialLink::breakLine() {
  readerRunning_ = false;
  device_->close();
}

void SerialLink::closePort() {
  if (!portOpen_) return;
  readerRunning_ = false;
  device_->stopReader();
  // Drops a notification that is still queued; a pass that is running (the dispatcher
  // can close the link from inside a nested wait) finishes without touching the gate.
  session_.reset();
  device_->discardAll();
  device_->close();
  portOpen_ = false;
  gate_.open();
}

}  // namespace audiodsp
