#include "graph/response_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "graph/band_markers.h"
#include "graph/grid_bitmap.h"
#include "model/value_tables.h"

namespace audiodsp {
namespace {

class ResponseGraphTest : public testing::Test {
 protected:
  std::set<int> redRowsInColumn(int x) const {
    std::set<int> rows;
    for (int y = 0; y < image().height(); ++y)
      if (image().pixel(x, y) == colors::kRed) rows.insert(y);
    return rows;
  }
  const Bitmap& image() const { return *graph.image(); }

  ResponseGraph graph;
};

TEST_F(ResponseGraphTest, AFreshGraphDrawsAFlatLineAtZeroDb) {
  graph.paintBackground();
  graph.drawTotal(0);
  for (int x = 0; x < 720; ++x) {
    SCOPED_TRACE(x);
    // The line ends before its last point, as every line does.
    EXPECT_EQ(redRowsInColumn(x), x >= 42 && x < 713 ? std::set<int>{86} : std::set<int>{});
  }
}

// The curve read back off the bitmap: every column's own point is red, and a column's
// red pixels stay within the rows of its neighbours' points, down to the clipped part
// that leaves the picture.
TEST_F(ResponseGraphTest, TheTotalCurveCanBeReadOffTheImage) {
  graph.drawHighPass(1, 60, 3);  // 111 Hz, 18db-Bworth
  graph.drawLowPass(1, 170, 7);  // 2670 Hz, 24db-LR
  graph.paintBackground();
  graph.drawTotal(1);
  const GraphGeometry& g = graph.geometry();
  auto row = [&](int x) { return g.gainToRow(graph.totalAt(1, x)); };
  EXPECT_GT(row(42), 249);  // both ends run out of the picture
  EXPECT_GT(row(713), 249);
  int drawn = 0;
  for (int x = 42; x <= 713; ++x) {
    SCOPED_TRACE(x);
    std::set<int> rows = redRowsInColumn(x);
    if (x < 713 && row(x) < 249) {
      EXPECT_TRUE(rows.count(row(x)));
      ++drawn;
    }
    if (rows.empty()) continue;
    int lo = std::min({row(x), row(std::max(x - 1, 42)), row(std::min(x + 1, 713))});
    int hi = std::max({row(x), row(std::max(x - 1, 42)), row(std::min(x + 1, 713))});
    EXPECT_GE(*rows.begin(), lo);
    EXPECT_LE(*rows.rbegin(), hi);
  }
  EXPECT_GT(drawn, 300);
  for (int x : {41, 714}) EXPECT_TRUE(redRowsInColumn(x).empty()) << x;
}

TEST_F(ResponseGraphTest, TheTotalAddsTheOutputsOwnEightResponses) {
  graph.bandRedraw(2, 12, 0, 100, 150, 4);  // Low band 1
  graph.bandRedraw(2, 17, 2, 200, 90, 4);   // Low band 6
  graph.bandRedraw(1, 6, 0, 136, 170, 4);   // a Mid band
  graph.drawHighPass(2, 30, 0);
  graph.drawLowPass(2, 180, 1);
  graph.drawLowPass(3, 60, 1);  // Main
  for (int x : {42, 236, 430, 600, 713}) {
    SCOPED_TRACE(x);
    double expected = graph.bandResponse(12)[x - 41] + graph.bandResponse(17)[x - 41] +
                      graph.highPassResponse(2)[x - 41] + graph.lowPassResponse(2)[x - 41];
    EXPECT_DOUBLE_EQ(graph.totalAt(2, x), expected);
    EXPECT_NE(graph.totalAt(2, x), 0.0);
  }
}

TEST_F(ResponseGraphTest, AChangeRecomputesOnlyItsOwnResponse) {
  graph.bandRedraw(0, 0, 0, 50, 160, 8);
  graph.bandRedraw(0, 1, 1, 90, 100, 4);
  graph.bandRedraw(1, 6, 2, 190, 140, 4);
  graph.drawHighPass(0, 30, 4);
  graph.drawLowPass(0, 200, 5);
  std::array<ResponseGraph::Response, kBandSlotCount> bandsBefore;
  for (int slot = 0; slot < kBandSlotCount; ++slot) bandsBefore[slot] = graph.bandResponse(slot);
  const auto highPass0 = graph.highPassResponse(0), lowPass0 = graph.lowPassResponse(0);
  const auto highPass1 = graph.highPassResponse(1);

  graph.bandRedraw(0, 1, 1, 95, 60, 4);
  graph.drawHighPass(1, 40, 0);
  for (int slot = 0; slot < 24; ++slot) {
    if (slot == 1) continue;
    EXPECT_EQ(graph.bandResponse(slot), bandsBefore[slot]) << slot;
  }
  EXPECT_NE(graph.bandResponse(1), bandsBefore[1]);
  EXPECT_EQ(graph.highPassResponse(0), highPass0);
  EXPECT_EQ(graph.lowPassResponse(0), lowPass0);
  EXPECT_NE(graph.highPassResponse(1), highPass1);
}

TEST_F(ResponseGraphTest, FilterDrawingsPaintNoBackgroundAndNoMarkers) {
  graph.image()->fill(Color{7, 7, 7});
  graph.drawLowPass(0, 243, 0);
  EXPECT_EQ(image().pixel(10, 10), (Color{7, 7, 7}));
  EXPECT_EQ(image().pixel(97, 82), (Color{7, 7, 7}));  // where band 1's square would be
  EXPECT_EQ(image().pixel(101, 86), colors::kRed);
}

TEST_F(ResponseGraphTest, BandRedrawPlacesTheMarkerAndDrawsAllSixOfTheOutput) {
  graph.image()->fill(Color{7, 7, 7});
  graph.bandRedraw(3, 20, 0, 136, 150, 4);  // Main band 3 at 1 kHz, +6 dB
  EXPECT_EQ(graph.marker(20), (Point{430, 58}));
  EXPECT_EQ(image().pixel(10, 10), graph.gridBitmap().pixel(10, 10));
  const Point expected[] = {{101, 86}, {177, 86}, {430, 58}, {294, 86}, {371, 86}, {429, 86}};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(graph.marker(18 + k), expected[k]);
  }
  EXPECT_EQ(image().pixel(426, 54), kBandColors[2]);
  EXPECT_EQ(image().pixel(101 - 4, 86 - 4), kBandColors[0]);
  EXPECT_EQ(image().pixel(429 + 3, 86 + 3), kBandColors[5]);
}

TEST_F(ResponseGraphTest, RecomputeAllPlacesEveryMarkerAndRecomputesEveryResponse) {
  ParamModel model;
  model.band[0] = EqBand{136, 0, 150, 60, 4};    // High band 1: PEQ +6 dB at 1 kHz
  model.band[7] = EqBand{80, 1, 150, 100, 20};   // Mid band 2: low shelf -4 dB at 198 Hz
  model.band[23] = EqBand{230, 2, 120, 170, 4};  // Main band 6: high shelf +10 dB at 15.1 kHz
  model.crossover[2] = Crossover{40, 6, 200, 8};
  graph.recomputeAll(model);

  for (int slot = 0; slot < kBandSlotCount; ++slot) {
    SCOPED_TRACE(slot);
    const EqBand& b = model.band[slot];
    EXPECT_EQ(graph.marker(slot), (Point{graph.geometry().frequencyToColumn(FreqTable[b.freq]),
                                         graph.geometry().gainToRow(GainTable[b.gainInForce()])}));
  }
  ResponseGraph separately;
  separately.bandRedraw(0, 0, model.band[0]);
  separately.bandRedraw(1, 7, model.band[7]);
  separately.bandRedraw(3, 23, model.band[23]);
  separately.drawHighPass(2, 40, 6);
  separately.drawLowPass(2, 200, 8);
  for (int slot : {0, 7, 23}) EXPECT_EQ(graph.bandResponse(slot), separately.bandResponse(slot)) << slot;
  EXPECT_EQ(graph.highPassResponse(2), separately.highPassResponse(2));
  EXPECT_EQ(graph.lowPassResponse(2), separately.lowPassResponse(2));
  EXPECT_NEAR(graph.bandResponse(7)[430 - 41], 0.0, 0.5);
  EXPECT_LT(graph.bandResponse(7)[101 - 41], -3.8);
  // The start-up crossovers of the other outputs are recomputed too: HPF off at 1 Hz, LPF
  // off at 60 kHz, not the flat start values.
  EXPECT_NEAR(graph.lowPassResponse(0)[713 - 41], -0.43, 0.005);
  // The image is left showing Main: its band 6 square is on it.
  EXPECT_EQ(image().pixel(graph.marker(23).x, graph.marker(23).y), kBandColors[5]);
}

TEST_F(ResponseGraphTest, NothingIsDrawnForAnOutputOrSlotThatDoesNotExist) {
  graph.image()->fill(Color{7, 7, 7});
  const Bitmap before = image();
  graph.drawTotal(-1);
  graph.drawMarkers(4);
  graph.bandRedraw(-1, 0, 0, 10, 10, 4);
  graph.bandRedraw(0, 24, 0, 10, 10, 4);
  graph.drawHighPass(4, 10, 0);
  graph.drawLowPass(-1, 10, 0);
  EXPECT_EQ(image(), before);
}

}  // namespace
}  // namespace audiodsp
