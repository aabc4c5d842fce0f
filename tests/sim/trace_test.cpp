#include "protocol/trace.h"

#include <gtest/gtest.h>

#include "sim/sim_test_util.h"

namespace audiodsp {
namespace {

using simtest::hex;

TEST(Trace, FormatsTimeDirectionAndBytes) {
  struct Case {
    uint64_t atMs;
    TraceDirection dir;
    const char* bytes;
    const char* line;
  } cases[] = {
      {12345, TraceDirection::Tx, "A5 A5 A5 00 A2 00 2B 00 00 00 89 AA",
       "   12.345 TX A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"},
      {0, TraceDirection::Rx, "0f", "    0.000 RX 0F"},
      {7, TraceDirection::Rx, "ff 00", "    0.007 RX FF 00"},
      {123456789, TraceDirection::Tx, "AA", "123456.789 TX AA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(formatTraceLine(c.atMs, c.dir, hex(c.bytes)), c.line);
    const auto back = parseTraceLine(c.line);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, (TraceLine{c.atMs, c.dir, hex(c.bytes)}));
  }
}

TEST(Trace, ParsesLooseButWellFormedLines) {
  struct Case {
    const char* line;
    uint64_t atMs;
  } cases[] = {{"1.5 RX a5 aa", 1500}, {"\t2 TX A5 AA \r", 2000}, {"0.25 RX A5 AA", 250}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto t = parseTraceLine(c.line);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->atMs, c.atMs);
    EXPECT_EQ(t->bytes, hex("A5 AA"));
  }
}

TEST(Trace, RejectsMalformedLines) {
  for (const char* bad :
       {"", "12.345 TX", "12.345 XX A5", "12.3456 TX A5", "12. TX A5", "-1.000 TX A5", "1.000 TX A5A5",
        "1.000 TX A", "1.000 TX G0", "1.000 tx A5", "abc TX A5", ".5 TX A5"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parseTraceLine(bad));
  }
}

TEST(Trace, ReadsAWholeTraceSkippingCommentsAndBlankLines) {
  const auto trace = parseTrace(
      "# connect\n"
      "    0.010 TX A5 A5 A5 00 A2 00 28 00 00 00 8A AA\n"
      "\n"
      "    0.400 RX A5 A5 A5 00 52\r\n"
      "    0.450 RX 00 28");
  ASSERT_TRUE(trace);
  ASSERT_EQ(trace->size(), 3u);
  EXPECT_EQ((*trace)[0], (TraceLine{10, TraceDirection::Tx, hex("A5 A5 A5 00 A2 00 28 00 00 00 8A AA")}));
  EXPECT_EQ((*trace)[1], (TraceLine{400, TraceDirection::Rx, hex("A5 A5 A5 00 52")}));
  EXPECT_EQ((*trace)[2], (TraceLine{450, TraceDirection::Rx, hex("00 28")}));
  EXPECT_FALSE(parseTrace("    0.010 TX A5\nnot a trace line\n"));
}

}  // namespace
}  // namespace audiodsp
