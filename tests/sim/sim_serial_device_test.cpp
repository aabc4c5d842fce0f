// SerialLink on the in-process wire to the virtual amplifier, on the virtual clock.
#include "sim/sim_serial_device.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/posix_serial_device.h"
#include "link/serial_link.h"
#include "platform/virtual_loop.h"
#include "sim/virtual_line.h"

namespace audiodsp {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPoll = {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x89, 0xAA};
const Bytes kBroadcastPoll = {0xA5, 0xA5, 0xA5, 0xFF, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x76, 0xAA};
const Bytes kNamesRequest = {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x26, 0x00, 0x00, 0x00, 0x84, 0xAA};

struct Dispatch {
  uint64_t atMicros;
  std::string rxText;
};

class SimLinkTest : public ::testing::Test {
 protected:
  SimLinkTest() {
    link.portMap()[1] = "sim";
    link.setPortNumber(1);
    link.onDispatch = [this] { dispatches.push_back({loop.micros(), link.rxText()}); };
    device.onWire = [this](const WireEvent& event) { wire.push_back(event); };
  }

  void connect() {
    link.openPort();
    ASSERT_TRUE(link.portOpen());
    link.startReader();
    ASSERT_TRUE(link.readerRunning());
  }

  void send(const Bytes& frame) {
    link.txBuffer() = frame;
    link.writePort();
  }

  static SimConfig config() {
    SimConfig cfg;
    cfg.ids = {1};
    cfg.replyDelayMs = 5;
    cfg.temperatureReading = 0x0C93;
    cfg.attenuationDb = 12;
    return cfg;
  }

  VirtualLoop loop;
  VirtualLine line{config()};
  SimSerialDevice device{loop, line};
  SerialLink link{loop, device};
  std::vector<Dispatch> dispatches;
  std::vector<WireEvent> wire;
};

TEST_F(SimLinkTest, PollRoundTripTakesWireTimeReplyDelayAndTheGatherPause) {
  connect();
  send(kPoll);
  // The write returns when its 12 bytes are out: 12 x 1.0417 ms.
  EXPECT_EQ(loop.micros(), 12500u);
  loop.advance(200);

  ASSERT_EQ(wire.size(), 2u);
  EXPECT_TRUE(wire[0].fromHost);
  EXPECT_EQ(wire[0].bytes, kPoll);
  EXPECT_EQ(wire[0].startMicros, 0u);
  EXPECT_EQ(wire[0].endMicros, 12500u);
  // Heard whole at 13 ms, answered 5 ms later; 20 bytes take 20.833 ms.
  EXPECT_FALSE(wire[1].fromHost);
  EXPECT_EQ(wire[1].startMicros, 18000u);
  EXPECT_EQ(wire[1].endMicros, 38833u);

  // The first reply byte wakes the reader at 19.041 ms; the pass reads 50 ms later.
  ASSERT_EQ(dispatches.size(), 1u);
  EXPECT_EQ(dispatches[0].atMicros, 69041u);
  const std::string& text = dispatches[0].rxText;
  ASSERT_EQ(text.size(), 40u);
  EXPECT_EQ(text.substr(0, 20), "A5A5A50052002B000008");
  EXPECT_EQ(text.substr(24, 6), "930C0C");  // reading low byte first, then 12 dB
  EXPECT_EQ(text.substr(38), "AA");
  EXPECT_TRUE(link.notifyGate().isOpen());
}

TEST_F(SimLinkTest, WriteBlocksForItsBytesOnTheWire) {
  connect();
  const struct {
    std::size_t bytes;
    uint64_t micros;
  } cases[] = {{12, 12500}, {20, 20833}, {332, 345833}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    Bytes frame(c.bytes, 0x00);  // not a frame: the line skips it, nothing answers
    const uint64_t start = loop.micros();
    send(frame);
    EXPECT_EQ(loop.micros() - start, c.micros);
  }
  loop.advance(100);
  EXPECT_TRUE(dispatches.empty());
}

TEST_F(SimLinkTest, BroadcastGetsNoReplyAndNoNotification) {
  connect();
  send(kBroadcastPoll);
  loop.advance(500);
  EXPECT_EQ(wire.size(), 1u);
  EXPECT_TRUE(dispatches.empty());
}

// The 412-byte names reply takes 429 ms on the wire. Each pass reads what has arrived after
// its 50 ms pause; the next byte to arrive starts the next pass at once, so no byte waits
// longer than one byte time for its pass and nothing is lost.
TEST_F(SimLinkTest, BytesArrivingDuringAPassAreReadByTheNextPass) {
  connect();
  std::string all;
  link.onDispatch = [&] {
    dispatches.push_back({loop.micros(), link.rxText()});
    all += link.rxText();
    link.rxText().clear();
  };
  send(kNamesRequest);
  loop.advance(1000);
  ASSERT_EQ(wire.size(), 2u);
  EXPECT_EQ(wire[1].bytes.size(), 412u);
  std::string expected;
  for (uint8_t b : wire[1].bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    expected += kHex[b >> 4];
    expected += kHex[b & 15];
  }
  EXPECT_EQ(all, expected);
  ASSERT_EQ(dispatches.size(), 9u);
  EXPECT_EQ(dispatches[0].atMicros, 69041u);
  for (std::size_t i = 0; i + 1 < dispatches.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(dispatches[i].rxText.size(), 2u * 48);
    EXPECT_LE(dispatches[i].rxText.size(), 2u * 49);
    const uint64_t gap = dispatches[i + 1].atMicros - dispatches[i].atMicros;
    EXPECT_GE(gap, 50000u);
    EXPECT_LE(gap, 50000u + SimSerialDevice::wireMicros(1) + 1);
  }
}

TEST_F(SimLinkTest, InputWaitsUntilTheReaderStartsThenComesInOnePass) {
  link.openPort();
  ASSERT_TRUE(link.portOpen());
  send(kPoll);
  loop.advance(200);
  EXPECT_TRUE(dispatches.empty());
  std::size_t waiting = 0;
  EXPECT_FALSE(device.waiting(waiting));
  EXPECT_EQ(waiting, 20u);

  const uint64_t start = loop.micros();
  link.startReader();
  loop.advance(200);
  ASSERT_EQ(dispatches.size(), 1u);
  EXPECT_EQ(dispatches[0].atMicros - start, 50000u);
  EXPECT_EQ(dispatches[0].rxText.size(), 40u);
}

TEST_F(SimLinkTest, CloseInsideTheDispatcherEndsThePassCleanly) {
  connect();
  link.onDispatch = [&] {
    dispatches.push_back({loop.micros(), link.rxText()});
    link.closePort();
  };
  send(kPoll);
  loop.advance(200);
  ASSERT_EQ(dispatches.size(), 1u);
  EXPECT_FALSE(link.portOpen());
  EXPECT_FALSE(device.isOpen());
  EXPECT_TRUE(link.notifyGate().isOpen());
  connect();
  link.onDispatch = [&] { dispatches.push_back({loop.micros(), link.rxText()}); };
  link.rxText().clear();
  send(kPoll);
  loop.advance(200);
  ASSERT_EQ(dispatches.size(), 2u);
  EXPECT_EQ(dispatches[1].rxText.size(), 40u);
}

TEST_F(SimLinkTest, PulledLineLeavesTheLinkOpenButBrokenUntilClosed) {
  connect();
  device.pullLine();
  loop.advance(200);  // one last pass: the status query fails, nothing is read
  EXPECT_TRUE(dispatches.empty());
  EXPECT_TRUE(link.notifyGate().isOpen());
  EXPECT_TRUE(link.portOpen());
  EXPECT_TRUE(link.lineUp());

  send(kPoll);
  EXPECT_EQ(loop.micros(), 200000u);  // a failed write takes no time on the wire
  EXPECT_TRUE(link.portOpen());
  EXPECT_FALSE(link.lineUp());
  EXPECT_FALSE(link.readerRunning());
  EXPECT_EQ(wire.size(), 0u);

  link.closePort();
  EXPECT_FALSE(link.portOpen());
  link.openPort();
  EXPECT_FALSE(link.portOpen());
  EXPECT_EQ(link.openError().message(), "No such file or directory");

  device.plugLine();
  connect();
  send(kPoll);
  loop.advance(200);
  EXPECT_EQ(dispatches.size(), 1u);
}

TEST(SimLinkRouteTest, RoutedPathOpensTheSimulatedLineInsteadOfTheDefaultDriver) {
  VirtualLoop loop;
  VirtualLine line{SimConfig{}};
  SimSerialDevice sim{loop, line};
  PosixSerialDevice posix;
  SerialLink link{loop, posix};
  link.routePath("demo", sim);
  link.portMap()[9] = "demo";
  link.setPortNumber(9);
  link.openPort();
  EXPECT_TRUE(link.portOpen());
  EXPECT_TRUE(sim.isOpen());
  EXPECT_EQ(sim.path(), "demo");
  EXPECT_FALSE(posix.isOpen());
}

}  // namespace
}  // namespace audiodsp
