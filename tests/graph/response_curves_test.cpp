#include "graph/response_curves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "graph/response_graph.h"

namespace audiodsp {
namespace {

constexpr int k1kHz = 136;       // FreqTable index of 1000 Hz
constexpr int kPlus6dB = 150;    // GainTable index of +6.0 dB
constexpr int kZeroDb = 120;     // GainTable index of 0.0 dB
constexpr int kQ1 = 4;           // QTable index of Q 1.0
constexpr int kBandOneSlot = 0;  // output High, band 1

double at(const ResponseGraph::Response& r, int x) {
  return r[x - 41];
}

TEST(Biquad, MagnitudeMatchesTheTransferFunctionInTheGraphUnit) {
  const Biquad sections[] = {Biquad(1.3, -1.9, 0.7, 0.4, 0.2, -0.1), Biquad(2, 0.5, 0, 1, -1, 0)};
  const double a[][6] = {{1.3, -1.9, 0.7, 0.4, 0.2, -0.1}, {2, 0.5, 0, 1, -1, 0}};
  for (int s = 0; s < 2; ++s)
    for (double w : {0.01, 0.3, 1.0, 2.5}) {
      SCOPED_TRACE(testing::Message() << "section " << s << " w " << w);
      std::complex<double> z1 = std::polar(1.0, -w);
      std::complex<double> h =
          (a[s][3] + a[s][4] * z1 + a[s][5] * z1 * z1) / (a[s][0] + a[s][1] * z1 + a[s][2] * z1 * z1);
      // 40 ln|H| / ln 101, not 20 log10 |H|
      EXPECT_NEAR(sections[s].db(std::cos(w), std::sin(w)), 40 * std::log(std::abs(h)) / std::log(101.0),
                  1e-12);
    }
  EXPECT_EQ(Biquad::passThrough().db(std::cos(0.7), std::sin(0.7)), 0.0);
}

struct BandCase {
  const char* name;
  int type;
  struct {
    int x;
    double value, tolerance;
  } points[3];
};

TEST(BandResponse, PeakAndShelvesAtOneKilohertz) {
  const BandCase cases[] = {
      // far from its centre the peak fades out
      {"peaking", 0, {{430, 5.99, 0.005}, {101, 0.0, 0.1}, {681, 0.0, 0.1}}},
      {"low shelf", 1, {{101, 5.99, 0.01}, {430, 4.64, 0.01}, {681, 0.0, 0.01}}},
      {"high shelf", 2, {{101, 0.0, 0.01}, {430, 4.76, 0.01}, {681, 5.99, 0.01}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResponseGraph graph;
    graph.bandRedraw(0, kBandOneSlot, c.type, k1kHz, kPlus6dB, kQ1);
    EXPECT_EQ(graph.marker(kBandOneSlot), (Point{430, 58}));
    const auto& r = graph.bandResponse(kBandOneSlot);
    for (auto [x, value, tolerance] : c.points) EXPECT_NEAR(at(r, x), value, tolerance) << "x " << x;
  }
}

TEST(BandResponse, PeakingBandPeaksAtItsMarkerColumn) {
  ResponseGraph graph;
  graph.bandRedraw(0, kBandOneSlot, 0, k1kHz, kPlus6dB, kQ1);
  const auto& r = graph.bandResponse(kBandOneSlot);
  auto peak = std::max_element(r.begin() + 1, r.begin() + 673);
  EXPECT_EQ(peak - r.begin() + 41, 430);
  EXPECT_NEAR(*peak, 5.99, 0.005);
}

TEST(BandResponse, ZeroGainIsExactlyFlatForEveryType) {
  for (int type : {0, 1, 2})
    for (int q : {0, kQ1, 179}) {
      SCOPED_TRACE(testing::Message() << "type " << type << " q " << q);
      ResponseGraph graph;
      graph.bandRedraw(1, 9, type, 200, kPlus6dB, q);  // something else first
      graph.bandRedraw(1, 9, type, 200, kZeroDb, q);
      const auto& r = graph.bandResponse(9);
      for (int x = 42; x <= 713; ++x) ASSERT_EQ(at(r, x), 0.0) << x;
    }
}

struct FilterCase {
  const char* name;
  bool lowPass;
  int freqIndex;
  int slope;
  std::pair<int, double> point;
  double tolerance;
};

TEST(FilterResponse, SlopesAndOffPositions) {
  const FilterCase cases[] = {
      {"LPF 12db-Bworth", true, k1kHz, 0, {430, -2.96}, 0.01},
      {"LPF 12db-LR", true, k1kHz, 1, {430, -6.00}, 0.01},
      {"LPF 12db-Bessel", true, k1kHz, 2, {430, -3.0}, 0.05},
      {"LPF 24db-LR", true, k1kHz, 7, {430, -5.93}, 0.01},
      {"HPF 12db-Bworth", false, k1kHz, 0, {430, -2.97}, 0.01},
      {"LPF off, 20 kHz", true, 243, 0, {681, -0.03}, 0.005},
      {"LPF off, right end", true, 243, 0, {713, -0.43}, 0.005},
      {"HPF off, 20 Hz", false, 0, 0, {101, 0.0}, 0.005},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResponseGraph graph;
    if (c.lowPass)
      graph.drawLowPass(2, c.freqIndex, c.slope);
    else
      graph.drawHighPass(2, c.freqIndex, c.slope);
    const auto& r = c.lowPass ? graph.lowPassResponse(2) : graph.highPassResponse(2);
    EXPECT_NEAR(at(r, c.point.first), c.point.second, c.tolerance);
  }
}

// Each slope index must reach its own design: in the stop band every 24 dB slope falls
// below every 18 dB slope, which falls below every 12 dB slope, while the pass band stays
// flat. Measured at the far column from a 1 kHz corner.
TEST(FilterResponse, EverySlopeHasItsOwnSteepness) {
  for (bool lowPass : {true, false}) {
    SCOPED_TRACE(lowPass ? "low-pass" : "high-pass");
    const int stopColumn = lowPass ? 713 : 42;
    const int passColumn = lowPass ? 42 : 713;
    double stop[9];
    for (int t = 0; t < 9; ++t) {
      SCOPED_TRACE(testing::Message() << "slope " << t);
      ResponseGraph graph;
      lowPass ? graph.drawLowPass(0, k1kHz, t) : graph.drawHighPass(0, k1kHz, t);
      const auto& r = lowPass ? graph.lowPassResponse(0) : graph.highPassResponse(0);
      EXPECT_NEAR(at(r, passColumn), 0.0, 0.01);
      stop[t] = at(r, stopColumn);
      EXPECT_LT(stop[t], -50);
    }
    for (int steeper = 3; steeper < 9; ++steeper)
      for (int flatter = 0; flatter < steeper / 3 * 3; ++flatter)
        EXPECT_LT(stop[steeper], stop[flatter]) << steeper << " vs " << flatter;
  }
}

TEST(FilterResponse, OutOfRangeSelectionsAreBroughtIntoRange) {
  ResponseGraph a, b;
  a.drawLowPass(0, 400, 12);
  b.drawLowPass(0, 243, 8);
  EXPECT_EQ(a.lowPassResponse(0), b.lowPassResponse(0));
  a.drawHighPass(0, -5, -1);
  b.drawHighPass(0, 0, 0);
  EXPECT_EQ(a.highPassResponse(0), b.highPassResponse(0));
}

}  // namespace
}  // namespace audiodsp
