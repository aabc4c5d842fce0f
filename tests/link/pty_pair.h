#pragma once
// A pseudo-terminal for the driver tests: the test holds the master side and plays the
// device; the code under test opens the slave path like any serial port.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace audiodsp {

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) < 0 || unlockpt(master_) < 0) throw std::runtime_error("no pty");
    slavePath_ = ptsname(master_);
  }
  ~PtyPair() { closeMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  int master() const { return master_; }

  void send(const std::vector<uint8_t>& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("pty write failed");
      done += static_cast<std::size_t>(n);
    }
  }

  // Everything that arrives on the master within `quietMs` of the last byte.
  std::vector<uint8_t> receive(int quietMs = 100) const {
    std::vector<uint8_t> got;
    pollfd in{master_, POLLIN, 0};
    while (::poll(&in, 1, quietMs) > 0 && (in.revents & POLLIN)) {
      uint8_t buffer[512];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  // The adapter vanishes.
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

}  // namespace audiodsp
