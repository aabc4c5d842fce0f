#include "graph/graph_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace audiodsp {
namespace {

const GraphGeometry kWindowGraph(720, 249);

TEST(GraphGeometry, InsetsAndColumnsOfTheWindowGraph) {
  EXPECT_EQ(kWindowGraph.leftInset(), 60);
  EXPECT_EQ(kWindowGraph.rightInset(), 33);
  EXPECT_EQ(kWindowGraph.firstColumn(), 42);
  EXPECT_EQ(kWindowGraph.lastColumn(), 713);
}

TEST(GraphGeometry, FrequencyToColumn) {
  const std::pair<double, int> cases[] = {{19.7, 99},  {20, 101},    {100, 236},
                                          {1000, 430}, {20000, 682}, {21900, 689}};
  for (auto [hz, x] : cases) EXPECT_EQ(kWindowGraph.frequencyToColumn(hz), x) << hz;
}

TEST(GraphGeometry, GainToRowTruncatesTowardZero) {
  const std::pair<double, int> cases[] = {{15, 16},
                                          {12, 30},
                                          {6, 58},
                                          {0.2, 85},
                                          {0, 86},
                                          {-24, 198},
                                          {-30, 227},
                                          // above the top the row is negative and truncates up
                                          {18.5, 0},
                                          {20, -7}};
  for (auto [db, y] : cases) EXPECT_EQ(kWindowGraph.gainToRow(db), y) << db;
}

TEST(GraphGeometry, GainToRowOfUnboundedValuesStaysFarOutside) {
  EXPECT_GT(kWindowGraph.gainToRow(-1e300), 1000000);
  EXPECT_GT(kWindowGraph.gainToRow(-INFINITY), 1000000);
  EXPECT_LT(kWindowGraph.gainToRow(INFINITY), -1000000);
  EXPECT_GT(kWindowGraph.gainToRow(NAN), 1000000);
}

TEST(GraphGeometry, ColumnToFrequency) {
  EXPECT_EQ(kWindowGraph.columnToFrequency(101), 20.0);
  EXPECT_NEAR(kWindowGraph.columnToFrequency(42), 9.92, 0.005);
  EXPECT_NEAR(kWindowGraph.columnToFrequency(430), 999.6, 0.05);
  EXPECT_NEAR(kWindowGraph.columnToFrequency(713), 28913, 1);
}

TEST(GraphGeometry, RowToGainTruncatesToOneDecimal) {
  const std::pair<int, double> cases[] = {{86, 0.0}, {32, 11.5},  {198, -23.8},
                                          {58, 6.0}, {100, -2.9}, {16, 15.0}};
  for (auto [y, db] : cases) EXPECT_DOUBLE_EQ(kWindowGraph.rowToGain(y), db) << y;
}

TEST(GraphGeometry, ColumnToFrequencyIndex) {
  // 20.0 Hz lies half-way between 19.7 and 20.3: the tie goes to the lower entry.
  const std::pair<int, int> cases[] = {{101, 0}, {97, 0}, {429, 136}, {430, 136}, {689, 243}, {713, 243}};
  for (auto [x, index] : cases) EXPECT_EQ(kWindowGraph.columnToFreqIndex(x), index) << x;
}

TEST(GraphGeometry, RowToGainIndexUsesItsOwnCalibration) {
  // The 0 dB grid line gives +0.2 dB, not 0 dB.
  const std::pair<int, int> cases[] = {{32, 180}, {20, 180}, {86, 121}, {85, 122}, {198, 0}, {240, 0}};
  for (auto [y, index] : cases) EXPECT_EQ(kWindowGraph.rowToGainIndex(y), index) << y;
}

TEST(GraphGeometry, GridLinesUseADecadeOnePixelNarrower) {
  const int expected[] = {101, 135, 159, 177, 193, 206, 217, 227, 236, 294, 328, 352, 371, 386,
                          399, 410, 420, 429, 487, 521, 545, 564, 579, 592, 604, 613, 622};
  int i = 0;
  for (int decade = 10; decade <= 1000; decade *= 10)
    for (int step = 2; step <= 10; ++step, ++i)
      EXPECT_EQ(kWindowGraph.gridLineColumn(decade * step), expected[i]);
  EXPECT_EQ(kWindowGraph.gridLineColumn(100), kWindowGraph.frequencyToColumn(100));
  EXPECT_EQ(kWindowGraph.gridLineColumn(1000) + 1, kWindowGraph.frequencyToColumn(1000));
}

}  // namespace
}  // namespace audiodsp
