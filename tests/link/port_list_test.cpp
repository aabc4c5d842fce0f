#include "link/port_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "link/pty_pair.h"

namespace audiodsp {
namespace {

using K = PortKind;

// One look at the system, and the names expected for what is present then.
struct Look {
  std::vector<FoundPort> present;
  std::vector<std::string> names;  // in the order of `present`; absent entries are not listed
};

struct NumberingCase {
  const char* title;
  std::vector<Look> looks;
};

class ComNumberingTest : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(ComNumberingTest, NamesFollowKindThenArrival) {
  ComNumbering numbering;
  int step = 0;
  for (const Look& look : GetParam().looks) {
    SCOPED_TRACE("look " + std::to_string(step++));
    std::vector<std::string> names;
    for (const PortInfo& p : numbering.name(look.present)) names.push_back(p.name);
    EXPECT_EQ(names, look.names);
  }
}

const FoundPort kS0{"/dev/ttyS0", K::OnBoard, "ttyS0"};
const FoundPort kS1{"/dev/ttyS1", K::OnBoard, "ttyS1"};
const FoundPort kUsb0{"/dev/ttyUSB0", K::Usb, "FTDI FT232R"};
const FoundPort kAcm0{"/dev/ttyACM0", K::Usb, "CDC"};
const FoundPort kPts{"/dev/pts/7", K::Named, ""};
const FoundPort kPts2{"/dev/pts/2", K::Named, ""};
const FoundPort kDemo{"demo", K::Demo, "demo line"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ComNumberingTest,
    ::testing::Values(NumberingCase{"kinds in order whatever the listing order",
                                    {{{kDemo, kPts, kUsb0, kS0, kS1},
                                      {"COM5", "COM4", "COM3", "COM1", "COM2"}}}},
                      NumberingCase{"named paths keep the order given", {{{kPts, kPts2}, {"COM1", "COM2"}}}},
                      NumberingCase{"a later arrival gets the next free number",
                                    {{{kS0, kUsb0, kDemo}, {"COM1", "COM2", "COM3"}},
                                     {{kS0, kUsb0, kAcm0, kDemo}, {"COM1", "COM2", "COM4", "COM3"}}}},
                      NumberingCase{"an unplugged path keeps its number and its number is not handed out",
                                    {{{kS0, kUsb0, kDemo}, {"COM1", "COM2", "COM3"}},
                                     {{kS0, kDemo}, {"COM1", "COM3"}},
                                     {{kS0, kAcm0, kDemo}, {"COM1", "COM4", "COM3"}},
                                     {{kS0, kUsb0, kAcm0, kDemo}, {"COM1", "COM2", "COM4", "COM3"}}}},
                      NumberingCase{"no ports", {{{}, {}}}}),
    [](const auto& info) {
      std::string name = info.param.title;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(ComNumbering, StopsAt255AndKeepsPathsAndDescriptions) {
  ComNumbering numbering;
  std::vector<FoundPort> many;
  for (int i = 0; i < 257; ++i) many.push_back({"/dev/ttyUSB" + std::to_string(i), K::Usb, "adapter"});
  const std::vector<PortInfo> named = numbering.name(many);
  ASSERT_EQ(named.size(), 255u);
  EXPECT_EQ(named.front(), (PortInfo{"COM1", "/dev/ttyUSB0", "adapter"}));
  EXPECT_EQ(named.back(), (PortInfo{"COM255", "/dev/ttyUSB254", "adapter"}));
  EXPECT_EQ(numbering.numberOf("/dev/ttyUSB255"), 0);
  EXPECT_EQ(numbering.numberOf("/dev/ttyUSB9"), 10);
}

TEST(SystemPortSource, NamedPathsWhilePresentThenTheDemoLine) {
  const size_t system = systemSerialPorts().size();
  auto pty = std::make_unique<PtyPair>();
  const std::string ptyPath = pty->slavePath();
  SystemPortSource source({{"/dev/no-such-adapter", ptyPath, ptyPath}, "demo", "simulated line"});

  std::vector<PortInfo> ports = source.ports();
  ASSERT_EQ(ports.size(), system + 2);
  const std::string ptyName = "COM" + std::to_string(system + 1);
  const std::string demoName = "COM" + std::to_string(system + 2);
  EXPECT_EQ(ports[system], (PortInfo{ptyName, ptyPath, "named on the command line"}));
  EXPECT_EQ(ports[system + 1], (PortInfo{demoName, "demo", "simulated line"}));

  pty.reset();  // the simulator went away and its pty with it
  if (std::filesystem::exists(ptyPath)) GTEST_SKIP() << "pty path outlived its master";
  ports = source.ports();
  ASSERT_EQ(ports.size(), system + 1);
  EXPECT_EQ(ports[system].name, demoName);
}

TEST(PortListLines, OneAlignedLinePerPortInComOrder) {
  FixedPortSource source({{"COM10", "demo", "simulated line"},
                          {"COM2", "/dev/ttyUSB0", "FTDI FT232R USB UART (A1B2)"},
                          {"COM1", "/dev/ttyS0", ""}});
  EXPECT_EQ(portListLines(source), (std::vector<std::string>{
                                       "COM1   /dev/ttyS0",
                                       "COM2   /dev/ttyUSB0  FTDI FT232R USB UART (A1B2)",
                                       "COM10  demo          simulated line",
                                   }));
  FixedPortSource none;
  EXPECT_EQ(portListLines(none), (std::vector<std::string>{"No serial ports found."}));
}

}  // namespace
}  // namespace audiodsp
