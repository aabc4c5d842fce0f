#pragma once
// The virtual line on a pseudo-terminal, in real time: the host opens the slave path like
// any serial port. Bytes from the host reach the devices as they would arrive at 9600
// baud, and replies leave at their times, paced at 9600 baud.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "sim/virtual_line.h"

namespace audiodsp {

class PtyLine {
 public:
  // Opens the pty; throws std::system_error when the system gives none.
  explicit PtyLine(VirtualLine& line);
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  bool lineOpen() const { return master_ >= 0; }

  // Every frame heard and every reply piece sent, as trace lines (times from the opening).
  void setTrace(std::function<void(const std::string&)> sink) { trace_ = std::move(sink); }
  // Watch another descriptor in the same loop (stdin, a signal fd). The handler returns
  // false to stop watching it.
  void addInput(int fd, std::function<bool()> onReadable);

  // Serves the line until requestStop() or closeLine(). Call from one thread only; once
  // stopped, the line stays stopped.
  void run();
  // Makes run() return soon; safe from any thread.
  void requestStop();
  // Closes the master side, so the host sees the line hang up, and makes run() return.
  // Call from the thread that runs run() (an input handler) or when it is not running.
  void closeLine();

  // Runs f on the line under the lock that run() takes, for access from other threads.
  template <class F>
  auto withLine(F&& f) {
    std::lock_guard lock(mutex_);
    return f(line_);
  }

 private:
  struct Outgoing {
    uint64_t readyAtUs;
    std::vector<uint8_t> bytes;
    size_t sent = 0;
    bool started = false;
    double startUs = 0;
  };
  uint64_t nowUs() const;
  void readHost();
  // Writes what is due; returns the microseconds until more is due, or -1 when nothing waits.
  int64_t writeDue();
  void traceLine(uint64_t atUs, bool tx, std::span<const uint8_t> bytes);

  VirtualLine& line_;
  std::mutex mutex_;
  int master_ = -1;
  int slaveHold_ = -1;  // our own slave descriptor: keeps the master from hanging up between hosts
  int wake_ = -1;       // eventfd for requestStop()
  std::atomic<bool> stop_{false};
  std::string slavePath_;
  uint64_t epochUs_ = 0;
  double rxFreeUs_ = 0;  // when the host's last byte has fully arrived on the wire
  double txFreeUs_ = 0;  // when our last byte has fully left
  std::vector<Outgoing> queue_;
  struct Input {
    int fd;
    std::function<bool()> onReadable;
  };
  std::vector<Input> inputs_;
  std::function<void(const std::string&)> trace_;
};

}  // namespace audiodsp
