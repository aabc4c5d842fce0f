#include "sim/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <system_error>

#include "protocol/trace.h"

namespace audiodsp {

namespace {

constexpr double kByteUs = 10e6 / 9600;  // one start bit, eight data bits, one stop bit

[[noreturn]] void fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

uint64_t monotonicUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000 + uint64_t(ts.tv_nsec) / 1000;
}

}  // namespace

PtyLine::PtyLine(VirtualLine& line) : line_(line), epochUs_(monotonicUs()) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  char name[128];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
    const int err = errno;
    closeFd(master_);
    errno = err;
    fail("pty slave");
  }
  slavePath_ = name;
  // Holding the slave open ourselves keeps the master readable when a host closes the
  // port and opens it again later; without it the master reports a hang-up in between.
  slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (slaveHold_ < 0 || tcgetattr(slaveHold_, &tio) != 0) {
    const int err = errno;
    closeFd(slaveHold_);
    closeFd(master_);
    errno = err;
    fail("pty slave");
  }
  cfmakeraw(&tio);
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  tio.c_cflag |= CLOCAL | CREAD;
  tcsetattr(slaveHold_, TCSANOW, &tio);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_ < 0) {
    const int err = errno;
    closeFd(slaveHold_);
    closeFd(master_);
    errno = err;
    fail("eventfd");
  }
  line_.setHeardObserver([this](const SimHeard& h) {
    if (trace_) trace_(formatTraceLine(h.atMs, TraceDirection::Rx, h.bytes));
  });
}

PtyLine::~PtyLine() {
  line_.setHeardObserver(nullptr);
  closeFd(slaveHold_);
  closeFd(master_);
  closeFd(wake_);
}

uint64_t PtyLine::nowUs() const {
  return monotonicUs() - epochUs_;
}

void PtyLine::addInput(int fd, std::function<bool()> onReadable) {
  inputs_.push_back({fd, std::move(onReadable)});
}

void PtyLine::requestStop() {
  stop_ = true;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

void PtyLine::closeLine() {
  std::lock_guard lock(mutex_);
  closeFd(master_);
  closeFd(slaveHold_);
  queue_.clear();
}

void PtyLine::traceLine(uint64_t atUs, bool tx, std::span<const uint8_t> bytes) {
  if (trace_) trace_(formatTraceLine(atUs / 1000, tx ? TraceDirection::Tx : TraceDirection::Rx, bytes));
}

void PtyLine::readHost() {
  uint8_t buf[4096];
  const ssize_t n = ::read(master_, buf, sizeof buf);
  if (n <= 0) return;
  // The host wrote these at once, but on the wire they arrive one after the other: hand
  // each byte over when it would be complete, so a frame is heard when its own last byte is.
  rxFreeUs_ = std::max(rxFreeUs_, double(nowUs()));
  for (ssize_t i = 0; i < n; ++i) {
    rxFreeUs_ += kByteUs;
    for (SimReply& r : line_.receive(std::span(buf + i, 1), uint64_t(rxFreeUs_ / 1000)))
      queue_.push_back({r.readyAtMs * 1000, std::move(r.bytes)});
  }
}

int64_t PtyLine::writeDue() {
  const double now = double(nowUs());
  while (!queue_.empty()) {
    Outgoing& o = queue_.front();
    if (!o.started) {
      if (now < double(o.readyAtUs)) return int64_t(std::ceil(double(o.readyAtUs) - now));
      o.started = true;
      o.startUs = std::max(double(o.readyAtUs), txFreeUs_);
      txFreeUs_ = o.startUs + double(o.bytes.size()) * kByteUs;
      traceLine(uint64_t(o.startUs), true, o.bytes);
    }
    // A byte is handed over once its stop bit would have left the wire.
    const size_t done = std::min(o.bytes.size(), size_t(std::max(0.0, (now - o.startUs) / kByteUs)));
    if (done > o.sent) {
      // A host that does not read fills the pty; what does not fit is lost, as on a wire.
      [[maybe_unused]] const ssize_t n = ::write(master_, o.bytes.data() + o.sent, done - o.sent);
      o.sent = done;
    }
    if (o.sent < o.bytes.size())
      return std::max<int64_t>(1, int64_t(std::ceil(o.startUs + double(o.sent + 1) * kByteUs - now)));
    queue_.erase(queue_.begin());
  }
  return -1;
}

void PtyLine::run() {
  while (!stop_) {
    int64_t waitUs;
    {
      std::lock_guard lock(mutex_);
      if (master_ < 0) return;
      waitUs = writeDue();
    }
    std::vector<pollfd> fds{{wake_, POLLIN, 0}, {master_, POLLIN, 0}};
    for (const Input& in : inputs_) fds.push_back({in.fd, POLLIN, 0});
    timespec timeout{waitUs / 1000000, (waitUs % 1000000) * 1000};
    if (ppoll(fds.data(), fds.size(), waitUs < 0 ? nullptr : &timeout, nullptr) < 0) {
      if (errno == EINTR) continue;
      fail("ppoll");
    }
    if (fds[0].revents & POLLIN) {
      uint64_t count;
      [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
    }
    if (fds[1].revents & POLLIN) {
      std::lock_guard lock(mutex_);
      if (master_ >= 0) readHost();
    } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      closeLine();  // the pty went away under us
      return;
    }
    // Handlers may add or drop inputs, so walk a snapshot of the watched descriptors.
    for (size_t i = 2; i < fds.size(); ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const auto byFd = [fd = fds[i].fd](const Input& in) { return in.fd == fd; };
      const auto it = std::find_if(inputs_.begin(), inputs_.end(), byFd);
      if (it == inputs_.end()) continue;
      const auto handler = it->onReadable;
      if (!handler()) std::erase_if(inputs_, byFd);
    }
  }
}

}  // namespace audiodsp
