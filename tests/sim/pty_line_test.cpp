#include "sim/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "protocol/trace.h"
#include "sim/sim_test_util.h"

namespace audiodsp {
namespace {

using simtest::hex;
using Clock = std::chrono::steady_clock;

int openHost(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return fd;
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  cfsetspeed(&tio, B9600);
  tcsetattr(fd, TCSANOW, &tio);
  return fd;
}

// Reads until `count` bytes came or the deadline passed.
std::vector<uint8_t> readSome(int fd, size_t count, int timeoutMs) {
  std::vector<uint8_t> got;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < count && Clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
    uint8_t buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.insert(got.end(), buf, buf + n);
  }
  return got;
}

class PtyLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pty.setTrace([this](const std::string& l) {
      std::lock_guard lock(traceMutex);
      trace.push_back(l);
    });
    server = std::thread([this] { pty.run(); });
  }
  void TearDown() override {
    pty.requestStop();
    server.join();
  }
  VirtualLine line{SimConfig{}};
  PtyLine pty{line};
  std::thread server;
  std::mutex traceMutex;
  std::vector<std::string> trace;
};

TEST_F(PtyLineTest, PollIsAnsweredAtNineThousandSixHundredBaud) {
  const int host = openHost(pty.slavePath());
  ASSERT_GE(host, 0);
  const auto poll = hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA");
  const auto start = Clock::now();
  ASSERT_EQ(::write(host, poll.data(), poll.size()), ssize_t(poll.size()));
  const auto reply = readSome(host, 20, 2000);
  const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(reply, hex("A5 A5 A5 00 52 00 2B 00 00 08 00 00 93 0C 00 00 00 00 EE AA"));
  // 12 bytes in, 5 ms of thought, 20 bytes out: about 38 ms on a 9600 baud wire.
  EXPECT_GE(elapsedMs, 35);
  EXPECT_LT(elapsedMs, 1000);
  ::close(host);

  std::lock_guard lock(traceMutex);
  ASSERT_EQ(trace.size(), 2u);
  const auto rx = parseTraceLine(trace[0]), tx = parseTraceLine(trace[1]);
  ASSERT_TRUE(rx && tx);
  EXPECT_EQ(rx->direction, TraceDirection::Rx);
  EXPECT_EQ(rx->bytes, poll);
  EXPECT_EQ(tx->direction, TraceDirection::Tx);
  EXPECT_EQ(tx->bytes, reply);
  EXPECT_GE(tx->atMs, rx->atMs + 5);
  EXPECT_LE(tx->atMs, rx->atMs + 6);
}

TEST_F(PtyLineTest, AHostThatReopensThePortIsStillAnswered) {
  const auto poll = hex("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA");
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const int host = openHost(pty.slavePath());
    ASSERT_GE(host, 0);
    ASSERT_EQ(::write(host, poll.data(), poll.size()), ssize_t(poll.size()));
    EXPECT_EQ(readSome(host, 20, 2000).size(), 20u);
    ::close(host);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(pty.withLine([](VirtualLine& l) { return l.device(1)->log.size(); }), 2u);
}

TEST(PtyLineClose, ClosingTheLineHangsUpOnTheHost) {
  VirtualLine line{SimConfig{}};
  PtyLine pty(line);
  const int host = openHost(pty.slavePath());
  ASSERT_GE(host, 0);
  pty.closeLine();
  EXPECT_FALSE(pty.lineOpen());
  pty.run();  // returns at once: there is no line to serve
  pollfd p{host, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 1000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  uint8_t b;
  EXPECT_LE(::read(host, &b, 1), 0);
  ::close(host);
}

}  // namespace
}  // namespace audiodsp
