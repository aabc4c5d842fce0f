#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace audiodsp {
namespace {

std::variant<SimOptions, std::string> parse(std::vector<std::string_view> args) {
  return parseSimOptions(args);
}

TEST(SimOptions, DefaultsAndEveryOption) {
  const auto plain = parse({});
  ASSERT_TRUE(std::holds_alternative<SimOptions>(plain));
  const SimOptions& d = std::get<SimOptions>(plain);
  EXPECT_EQ(d.config.ids, std::vector<int>{1});
  EXPECT_EQ(d.config.replyDelayMs, 5u);
  EXPECT_TRUE(d.config.checkCheckByte);
  EXPECT_FALSE(d.trace);

  const auto full =
      parse({"--ids", "1,2,7", "--link", "/tmp/amp", "--temp", "4000", "--atten=12", "--drift", "--delay-ms",
             "40", "--drop", "0.25", "--noise=0.5", "--split", "--no-check", "--seed", "99", "--trace"});
  ASSERT_TRUE(std::holds_alternative<SimOptions>(full)) << std::get<std::string>(full);
  const SimOptions& o = std::get<SimOptions>(full);
  EXPECT_EQ(o.config.ids, (std::vector<int>{1, 2, 7}));
  EXPECT_EQ(o.linkPath, "/tmp/amp");
  EXPECT_EQ(o.config.temperatureReading, 4000);
  EXPECT_EQ(o.config.attenuationDb, 12);
  EXPECT_TRUE(o.config.drift);
  EXPECT_EQ(o.config.replyDelayMs, 40u);
  EXPECT_DOUBLE_EQ(o.config.dropP, 0.25);
  EXPECT_DOUBLE_EQ(o.config.noiseP, 0.5);
  EXPECT_TRUE(o.config.split);
  EXPECT_FALSE(o.config.checkCheckByte);
  EXPECT_EQ(o.config.seed, 99u);
  EXPECT_TRUE(o.trace);
  EXPECT_TRUE(std::get<SimOptions>(parse({"--help"})).help);
}

TEST(SimOptions, BadArgumentsAreNamed) {
  struct Case {
    std::vector<std::string_view> args;
    const char* message;
  } cases[] = {
      {{"--ids", "0"}, "--ids: expects distinct IDs 1..255 separated by commas"},
      {{"--ids", "1,256"}, "--ids: expects distinct IDs 1..255 separated by commas"},
      {{"--ids", "2,2"}, "--ids: expects distinct IDs 1..255 separated by commas"},
      {{"--ids", "1,"}, "--ids: expects distinct IDs 1..255 separated by commas"},
      {{"--temp", "65536"}, "--temp: expects a reading 0..65535"},
      {{"--atten", "-1"}, "--atten: expects 0..255 dB"},
      {{"--drop", "1.5"}, "--drop: expects a probability 0..1"},
      {{"--noise", "x"}, "--noise: expects a probability 0..1"},
      {{"--delay-ms"}, "--delay-ms: needs a value"},
      {{"--split=yes"}, "--split: takes no value"},
      {{"--bogus"}, "--bogus: unknown option (see --help)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const auto r = parse(c.args);
    ASSERT_TRUE(std::holds_alternative<std::string>(r));
    EXPECT_EQ(std::get<std::string>(r), c.message);
  }
}

TEST(SimConsole, CommandsChangeTheNamedDeviceOrAll) {
  SimConfig c;
  c.ids = {1, 2, 7};
  VirtualLine line(c);
  auto run = [&](std::string_view cmd) { return runSimCommand(line, cmd); };

  EXPECT_EQ(run("silent 2\n").output,
            "device 2 (address 01): silent, temperature reading 3219, attenuation 0 dB, last preset 0, "
            "threshold 0\n");
  EXPECT_TRUE(line.device(2)->silent);
  EXPECT_FALSE(line.device(1)->silent);
  run("silent");
  EXPECT_TRUE(line.device(1)->silent && line.device(7)->silent);
  run("speak 7");
  EXPECT_FALSE(line.device(7)->silent);
  EXPECT_TRUE(line.device(1)->silent);

  run("temp 5000 7");
  run("atten 9");
  EXPECT_EQ(line.device(7)->temperatureReading, 5000);
  EXPECT_EQ(line.device(1)->temperatureReading, 3219);
  EXPECT_EQ(line.device(2)->attenuationDb, 9);

  EXPECT_EQ(run("speak 3").output, "no such device\n");
  EXPECT_EQ(run("temp 70000").output, "temp expects a reading 0..65535\n");
  EXPECT_EQ(run("atten").output, "atten expects 0..255 dB\n");
  EXPECT_EQ(run("frobnicate 2\n").output, "unknown command: frobnicate 2 (try help)\n");
  EXPECT_FALSE(run("list").closeLine);
  EXPECT_EQ(run("list").output.substr(0, 23), "device 1 (address 00): ");
  const auto close = run("close");
  EXPECT_TRUE(close.closeLine);
  EXPECT_EQ(close.output, "closing the line\n");
}

}  // namespace
}  // namespace audiodsp
