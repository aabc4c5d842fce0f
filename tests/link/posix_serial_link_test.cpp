// SerialLink on the termios driver against a real pseudo-terminal, in real time.
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/posix_serial_device.h"
#include "link/pty_pair.h"
#include "link/serial_link.h"
#include "platform/real_time_loop.h"

namespace audiodsp {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const Bytes kPoll = {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x89, 0xAA};
const Bytes kGroupRead3 = {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x03, 0x28, 0x00, 0x00, 0x00, 0x89, 0xAA};
const std::string kPollText = "A5A5A500A2002B00000089AA";
const std::string kGroupRead3Text = "A5A5A500A2032800000089AA";

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long elapsedMs(Clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

class PosixLinkTest : public ::testing::Test {
 protected:
  static constexpr int kPort = 3;

  PosixLinkTest() {
    link.portMap()[kPort] = pty.slavePath();
    link.setPortNumber(kPort);
    link.onDispatch = [this] { dispatched.push_back(link.rxText()); };
  }

  void connect() {
    link.openPort();
    ASSERT_TRUE(link.portOpen()) << link.openError().message();
    link.startReader();
    ASSERT_TRUE(link.readerRunning());
  }

  // Runs the loop until pred holds or timeoutMs has passed.
  bool runUntil(const std::function<bool()>& pred, int timeoutMs = 2000) {
    const auto start = Clock::now();
    while (!pred()) {
      if (elapsedMs(start) > timeoutMs) return false;
      loop.wait(10);
    }
    return true;
  }

  // CPU share of the whole process while the loop runs for about a second. A reader that
  // stays quiet also leaves the gate open: a pass it posted would have shut it.
  double cpuShareOverASecond(int& gateFoundShut) {
    gateFoundShut = 0;
    const double before = cpuSeconds();
    const auto start = Clock::now();
    for (int slice = 0; slice < 100; ++slice) {
      loop.wait(10);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));  // time for the reader to act
      if (!link.notifyGate().isOpen()) ++gateFoundShut;
    }
    return (cpuSeconds() - before) / (static_cast<double>(elapsedMs(start)) / 1000.0);
  }

  PtyPair pty;
  RealTimeLoop loop;
  PosixSerialDevice device;
  SerialLink link{loop, device};
  std::vector<std::string> dispatched;  // RxText as each dispatch saw it
};

TEST_F(PosixLinkTest, OpensRaw9600EightNoneOne) {
  link.openPort();
  ASSERT_TRUE(link.portOpen()) << link.openError().message();
  EXPECT_FALSE(link.openError());
  termios tio{};
  ASSERT_EQ(tcgetattr(device.fd(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), speed_t{B9600});
  EXPECT_EQ(cfgetispeed(&tio), speed_t{B9600});
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t{CS8});
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(tio.c_cflag & (CREAD | CLOCAL), tcflag_t{CREAD | CLOCAL});
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT), 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);
  EXPECT_EQ(fcntl(device.fd(), F_GETFL) & O_NONBLOCK, O_NONBLOCK);
}

TEST_F(PosixLinkTest, OpenFailuresNameTheReasonAndLeaveTheLinkClosed) {
  PosixSerialDevice holder;
  ASSERT_FALSE(holder.open(pty.slavePath()));  // someone else has the line
  link.portMap()[4] = "/dev/does-not-exist";
  link.portMap()[5] = "/dev/null";
  link.portMap()[6] = pty.slavePath();
  const struct {
    int port;
    std::errc error;
    std::string text;
  } cases[] = {
      {0, std::errc::no_such_device, "No such device"},  // no port chosen
      {7, std::errc::no_such_device, "No such device"},  // not in the port list
      {4, std::errc::no_such_file_or_directory, "No such file or directory"},
      {5, std::errc::inappropriate_io_control_operation, "Inappropriate ioctl for device"},
      {6, std::errc::device_or_resource_busy, "Device or resource busy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.port);
    link.setPortNumber(c.port);
    link.openPort();
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(link.openError(), std::make_error_code(c.error));
    EXPECT_EQ(link.openError().message(), c.text);
  }
}

TEST_F(PosixLinkTest, ExclusiveOpenRefusesASecondOpenUntilClosed) {
  connect();
  PosixSerialDevice second;
  EXPECT_EQ(second.open(pty.slavePath()), std::make_error_code(std::errc::device_or_resource_busy));
  EXPECT_FALSE(second.isOpen());
  link.closePort();
  EXPECT_FALSE(second.open(pty.slavePath()));
  EXPECT_TRUE(second.isOpen());
}

TEST_F(PosixLinkTest, TwoFramesWithinTheGatherPauseAreReadAndDispatchedOnce) {
  connect();
  const auto start = Clock::now();
  pty.send(kPoll);
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  pty.send(kGroupRead3);
  ASSERT_TRUE(runUntil([&] { return !dispatched.empty(); }));
  EXPECT_GE(elapsedMs(start), 50);
  loop.wait(200);  // no second pass follows
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(dispatched[0], kPollText + kGroupRead3Text);
  EXPECT_TRUE(link.notifyGate().isOpen());
}

TEST_F(PosixLinkTest, ReceivedTextIsAppendedToWhatTheDispatcherLeft) {
  connect();
  link.rxText() = "A5A5";
  pty.send({0x00, 0x0f, 0xf0, 0xff});
  ASSERT_TRUE(runUntil([&] { return !dispatched.empty(); }));
  EXPECT_EQ(link.rxText(), "A5A5000FF0FF");
}

TEST_F(PosixLinkTest, BacklogLargerThanOnePassIsReadOverTheNextPassesWithoutLoss) {
  connect();
  Bytes backlog(3000);
  for (std::size_t i = 0; i < backlog.size(); ++i) backlog[i] = static_cast<uint8_t>(i * 7 + i / 256);
  std::vector<std::size_t> perPass;
  link.onDispatch = [&] {
    perPass.push_back(link.rxText().size() / 2);
    dispatched.push_back(link.rxText());
    link.rxText().clear();  // as the dispatcher does with text it cannot use
  };
  pty.send(backlog);
  ASSERT_TRUE(runUntil([&] { return perPass.size() >= 3; }));
  loop.wait(150);
  EXPECT_EQ(perPass, (std::vector<std::size_t>{1025, 1025, 950}));
  std::string all;
  for (const auto& text : dispatched) all += text;
  std::string expected;
  for (uint8_t b : backlog) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    expected += kHex[b >> 4];
    expected += kHex[b & 15];
  }
  EXPECT_EQ(all, expected);
}

TEST_F(PosixLinkTest, WriteSendsTxBufferUnchangedAndOnlyWhenOpenAndNotEmpty) {
  const Bytes frame = {0xA5, 0xA5, 0xA5, 0x00, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x08,
                       0xC8, 0x01, 0x2C, 0x01, 0x01, 0x00, 0x00, 0x00, 0x4C, 0xAA};
  const struct {
    const char* name;
    bool open;
    Bytes tx;
    Bytes expected;
  } cases[] = {
      {"frame", true, frame, frame},
      {"bytes that a terminal would translate",
       true,
       {0x0D, 0x0A, 0x11, 0x13, 0x03, 0x7F},
       {0x0D, 0x0A, 0x11, 0x13, 0x03, 0x7F}},
      {"empty buffer", true, {}, {}},
      {"link closed", false, frame, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.open) connect();
    link.txBuffer() = c.tx;
    link.writePort();
    EXPECT_EQ(pty.receive(), c.expected);
    EXPECT_EQ(link.txBuffer(), c.tx);
    EXPECT_EQ(link.lineUp(), c.open);
    link.closePort();
  }
}

TEST_F(PosixLinkTest, CloseRightAfterOpenOrOnAClosedLinkReturnsAtOnce) {
  link.closePort();  // closed: nothing happens
  EXPECT_FALSE(link.portOpen());
  link.openPort();
  ASSERT_TRUE(link.portOpen());
  const auto start = Clock::now();
  link.closePort();
  EXPECT_LT(elapsedMs(start), 100);
  EXPECT_FALSE(link.portOpen());
  EXPECT_FALSE(device.isOpen());
}

TEST_F(PosixLinkTest, NotificationQueuedBeforeCloseIsDroppedAndTheReopenedLinkReadsOnlyNewInput) {
  connect();
  pty.send(kPoll);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the reader posts meanwhile
  EXPECT_FALSE(link.notifyGate().isOpen());
  link.closePort();
  EXPECT_TRUE(link.notifyGate().isOpen());
  connect();
  loop.wait(150);
  EXPECT_TRUE(dispatched.empty());
  pty.send(kGroupRead3);
  ASSERT_TRUE(runUntil([&] { return !dispatched.empty(); }));
  loop.wait(100);
  EXPECT_EQ(dispatched, std::vector<std::string>{kGroupRead3Text});
}

TEST_F(PosixLinkTest, ReaderCostsNoCpuWhileIdle) {
  connect();
  int gateFoundShut = 0;
  const double share = cpuShareOverASecond(gateFoundShut);
  RecordProperty("idle_cpu_percent", std::to_string(share * 100));
  EXPECT_LT(share, 0.05);
  EXPECT_EQ(gateFoundShut, 0);
  EXPECT_TRUE(device.watching());
}

// The adapter vanishes: the status query of the last pass fails, the reader stops watching
// without spinning, the link stays open but broken until it is closed, and nothing hangs.
TEST_F(PosixLinkTest, HungUpLineLeavesTheLinkOpenButBrokenWithoutSpinningOrHanging) {
  connect();
  pty.send(kPoll);
  ASSERT_TRUE(runUntil([&] { return !dispatched.empty(); }));
  pty.closeMaster();
  const int placeholder = ::open("/dev/null", O_RDONLY | O_CLOEXEC);  // takes the master's number
  ASSERT_TRUE(runUntil([&] { return !device.watching() && link.notifyGate().isOpen(); }));
  EXPECT_EQ(dispatched.size(), 1u);  // nothing more to dispatch, the failed query read nothing

  int gateFoundShut = 0;
  const double share = cpuShareOverASecond(gateFoundShut);
  RecordProperty("hung_up_cpu_percent", std::to_string(share * 100));
  EXPECT_LT(share, 0.05);
  EXPECT_EQ(gateFoundShut, 0);
  EXPECT_TRUE(link.portOpen());
  EXPECT_TRUE(link.readerRunning());

  const int brokenFd = device.fd();
  link.txBuffer() = kPoll;
  auto start = Clock::now();
  link.writePort();
  EXPECT_LT(elapsedMs(start), 500);
  EXPECT_TRUE(link.portOpen());
  EXPECT_FALSE(link.lineUp());
  EXPECT_FALSE(link.readerRunning());
  link.writePort();  // later writes fail quietly as well
  link.startReader();
  EXPECT_FALSE(link.readerRunning());

  // The released descriptor number is taken by the next open file; closing the broken
  // link must leave that file alone.
  const int reused = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(reused, brokenFd);
  start = Clock::now();
  link.closePort();
  EXPECT_LT(elapsedMs(start), 100);
  EXPECT_FALSE(link.portOpen());
  EXPECT_NE(fcntl(reused, F_GETFD), -1);
  ::close(reused);
  ::close(placeholder);
}

TEST_F(PosixLinkTest, CloseAfterAFailedStatusQueryDoesNotHang) {
  connect();
  pty.closeMaster();
  ASSERT_TRUE(runUntil([&] { return !device.watching() && link.notifyGate().isOpen(); }));
  const auto start = Clock::now();
  link.closePort();
  EXPECT_LT(elapsedMs(start), 100);
  EXPECT_FALSE(link.portOpen());
  EXPECT_TRUE(dispatched.empty());
}

TEST(PosixLinkStallTest, WriteThatTheLineNeverTakesFailsInsteadOfHanging) {
  PtyPair pty;  // nobody reads the master side, so its buffer fills and stays full
  RealTimeLoop loop;
  PosixSerialDevice device(200);
  SerialLink link{loop, device};
  link.portMap()[1] = pty.slavePath();
  link.setPortNumber(1);
  link.openPort();
  ASSERT_TRUE(link.portOpen());
  link.txBuffer() = Bytes(256 * 1024, 0x55);
  const auto start = Clock::now();
  link.writePort();
  EXPECT_LT(elapsedMs(start), 2000);
  EXPECT_GE(elapsedMs(start), 200);
  EXPECT_TRUE(link.portOpen());
  EXPECT_FALSE(link.lineUp());
  link.closePort();
  EXPECT_FALSE(link.portOpen());
}

}  // namespace
}  // namespace audiodsp
