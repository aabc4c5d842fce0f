// The termios driver against the virtual amplifier serving a pty, in real time.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/posix_serial_device.h"
#include "link/serial_link.h"
#include "platform/real_time_loop.h"
#include "sim/pty_line.h"
#include "sim/virtual_line.h"

namespace audiodsp {
namespace {

TEST(SimPtyLinkTest, PollIsAnsweredInOnePassAndAClosedLineBreaksTheNextWrite) {
  SimConfig cfg;
  cfg.ids = {1};
  cfg.temperatureReading = 0x0C93;
  cfg.attenuationDb = 12;
  VirtualLine line(cfg);
  PtyLine pty(line);
  std::thread server([&] { pty.run(); });

  RealTimeLoop loop;
  PosixSerialDevice device;
  SerialLink link{loop, device};
  link.portMap()[2] = pty.slavePath();
  link.setPortNumber(2);
  std::vector<std::string> dispatched;
  link.onDispatch = [&] { dispatched.push_back(link.rxText()); };
  link.openPort();
  ASSERT_TRUE(link.portOpen()) << link.openError().message();
  link.startReader();

  link.txBuffer() = {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x89, 0xAA};
  link.writePort();
  // 12.5 ms out, 5 ms reply delay, 20.8 ms back, 50 ms gathering: well inside 400 ms.
  loop.wait(400);
  ASSERT_EQ(dispatched.size(), 1u);
  ASSERT_EQ(dispatched[0].size(), 40u);
  EXPECT_EQ(dispatched[0].substr(0, 20), "A5A5A50052002B000008");
  EXPECT_EQ(dispatched[0].substr(24, 6), "930C0C");

  pty.requestStop();
  server.join();
  pty.closeLine();
  loop.wait(200);
  link.writePort();
  EXPECT_TRUE(link.portOpen());
  EXPECT_FALSE(link.lineUp());
  link.closePort();
  EXPECT_FALSE(link.portOpen());
}

}  // namespace
}  // namespace audiodsp
