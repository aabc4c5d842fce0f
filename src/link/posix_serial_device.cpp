#include "link/posix_serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace audiodsp {

namespace {

std::error_code errnoCode(int err = errno) {
  return {err, std::generic_category()};
}

// Raw 9600 8N1: nothing may alter, swallow or echo a byte of the binary protocol. Flow
// control by the modem lines and the break handling stay as the driver has them; CLOCAL
// because the device has no carrier line, so a floating DCD must not hang the line up.
void makeRaw(termios& tio) {
  tio.c_iflag &= ~(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXOFF | IXANY);
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_cc[VMIN] = 0;  // a read returns at once with whatever is waiting
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
}

// tcsetattr succeeds when any part of the change was taken, so read the settings back.
bool settingsTaken(int fd) {
  termios back{};
  if (tcgetattr(fd, &back) < 0) return false;
  const speed_t in = cfgetispeed(&back);
  return cfgetospeed(&back) == B9600 && (in == B9600 || in == B0) && (back.c_cflag & CSIZE) == CS8 &&
         (back.c_cflag & (PARENB | CSTOPB)) == 0 && (back.c_lflag & ICANON) == 0;
}

// Waits until stop is requested or the back-off has passed.
void backOff(std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any cv;
  std::unique_lock lock(mutex);
  cv.wait_for(lock, stop, std::chrono::milliseconds(100), [] { return false; });
}

}  // namespace

PosixSerialDevice::~PosixSerialDevice() {
  close();
}

std::error_code PosixSerialDevice::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errnoCode();
  // The lock keeps out a second copy of this program (and other programs that lock
  // their lines) even when it runs as root, which TIOCEXCL lets through. Take it first,
  // so a line that turns out to be busy is left as its owner set it.
  if (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
    const int err = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return errnoCode(err);
  }
  auto fail = [fd](int err) {
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return errnoCode(err);
  };
  if (::ioctl(fd, TIOCEXCL) < 0) return fail(errno);  // also refuses anything that is not a terminal
  termios tio{};
  if (tcgetattr(fd, &tio) < 0) return fail(errno);
  makeRaw(tio);
  if (tcsetattr(fd, TCSANOW, &tio) < 0) return fail(errno);
  if (!settingsTaken(fd)) return fail(EINVAL);
  // Linux tty drivers keep fixed buffers (4096 bytes in the line discipline); there is
  // no call to size them, so the driver's own sizes are used.
  fd_ = fd;
  return {};
}

bool PosixSerialDevice::startReader(NotifyGate& gate, std::function<void()> notify) {
  if (fd_ < 0) return false;
  stopReader();
  if (wakeFd_ < 0) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) return false;
  }
  watching_ = true;
  try {
    reader_ = std::jthread(
        [this, &gate, notify = std::move(notify)](std::stop_token stop) { readerLoop(stop, gate, notify); });
  } catch (const std::system_error&) {
    watching_ = false;
    return false;
  }
  return true;
}

void PosixSerialDevice::readerLoop(std::stop_token stop, NotifyGate& gate,
                                   const std::function<void()>& notify) {
  pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  while (!stop.stop_requested()) {
    // Waiting for the gate first means the line is looked at only after the last pass
    // has read what was there, so a pass is never followed by an empty one.
    if (!gate.waitOpen(stop)) break;
    if (::poll(fds, 2, -1) < 0) {
      if (errno != EINTR) backOff(stop);
      continue;
    }
    if (fds[1].revents != 0) break;
    const short events = fds[0].revents;
    if (events & (POLLHUP | POLLERR | POLLNVAL)) {
      // The line hung up (adapter unplugged, other end of a pty closed) or failed. poll()
      // would report that forever, so stop watching it; one last pass collects anything
      // still buffered. The link stays open until the time-outs or the user close it.
      fds[0].fd = -1;
      watching_ = false;
      gate.close();
      notify();
    } else if (events & POLLIN) {
      gate.close();
      notify();
    }
  }
}

void PosixSerialDevice::stopReader() {
  if (!reader_.joinable()) return;
  reader_.request_stop();
  // The stop request ends a wait for the gate; the eventfd ends a wait in poll().
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t woken = ::write(wakeFd_, &one, sizeof one);
  reader_.join();
  uint64_t drained = 0;
  while (::read(wakeFd_, &drained, sizeof drained) > 0) {
  }
  watching_ = false;
}

std::error_code PosixSerialDevice::waiting(std::size_t& count) {
  count = 0;
  if (fd_ < 0) return errnoCode(EBADF);
  int n = 0;
  if (::ioctl(fd_, FIONREAD, &n) < 0) return errnoCode();
  count = n > 0 ? static_cast<std::size_t>(n) : 0;
  return {};
}

std::error_code PosixSerialDevice::read(std::span<uint8_t> buffer, std::size_t& got) {
  got = 0;
  if (fd_ < 0) return errnoCode(EBADF);
  for (;;) {
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return {};
    }
    if (errno == EAGAIN) return {};
    if (errno != EINTR) return errnoCode();
  }
}

std::error_code PosixSerialDevice::write(std::span<const uint8_t> bytes) {
  if (fd_ < 0) return errnoCode(EBADF);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return errnoCode();
    // The driver's buffer is full: wait until it takes more.
    pollfd out{fd_, POLLOUT, 0};
    const int r = ::poll(&out, 1, writeStallMs_);
    if (r < 0 && errno != EINTR) return errnoCode();
    if (r == 0) return errnoCode(ETIMEDOUT);
    if (out.revents & (POLLERR | POLLHUP | POLLNVAL)) return errnoCode(EIO);
  }
  while (tcdrain(fd_) < 0) {
    if (errno != EINTR) return errnoCode();
  }
  return {};
}

void PosixSerialDevice::discardInput() {
  if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void PosixSerialDevice::discardAll() {
  if (fd_ >= 0) tcflush(fd_, TCIOFLUSH);
}

void PosixSerialDevice::raiseDtr() {
  int dtr = TIOCM_DTR;
  if (fd_ >= 0) ::ioctl(fd_, TIOCMBIS, &dtr);
}

void PosixSerialDevice::close() {
  stopReader();
  if (fd_ >= 0) {
    ::ioctl(fd_, TIOCNXCL);  // the exclusive flag outlives our descriptor on some terminals
    ::close(fd_);
    fd_ = -1;
  }
  closeWake();
}

void PosixSerialDevice::closeWake() {
  if (wakeFd_ >= 0) {
    ::close(wakeFd_);
    wakeFd_ = -1;
  }
}

}  // namespace audiodsp
