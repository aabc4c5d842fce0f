#include "graph/graph_geometry.h"

#include <cmath>

#include "model/value_tables.h"

namespace audiodsp {

namespace {

// Truncation toward zero into an int. Curve values are not limited, so a response of
// hundreds of dB (or an infinite one) must still give a coordinate rather than overflow;
// anything that far off lies outside every bitmap anyway.
int truncToPixel(double v) {
  constexpr double kFar = 1e8;
  if (std::isnan(v)) return static_cast<int>(kFar);
  return static_cast<int>(std::trunc(std::fmax(-kFar, std::fmin(kFar, v))));
}

}  // namespace

GraphGeometry::GraphGeometry(int width, int height)
    : width_(width),
      height_(height),
      leftInset_(static_cast<int>(std::trunc((width - 46) * 0.09))),
      rightInset_(static_cast<int>(std::trunc((width - 46) * 0.05))) {}

int GraphGeometry::frequencyToColumn(double hz) const {
  double decade = (width_ - leftInset_ - rightInset_ - 46) / 3.0;
  return truncToPixel(std::log10(hz / 20) * decade + 41 + leftInset_);
}

int GraphGeometry::gainToRow(double db) const {
  return truncToPixel((15 - db) / 45 * (height_ - 38) + 16);
}

double GraphGeometry::columnToFrequency(int x) const {
  return 20 * std::pow(10.0, 3.0 * (x - 41 - leftInset_) / (width_ - 46 - leftInset_ - rightInset_));
}

double GraphGeometry::rowToGain(int y) const {
  double db = 15 - static_cast<double>(y - 16) / (height_ - 38) * 45;
  return std::trunc(db * 10) / 10;
}

int GraphGeometry::columnToFreqIndex(int x) const {
  return NearestIndex(FreqTable, columnToFrequency(x));
}

int GraphGeometry::rowToGainIndex(int y) const {
  double db = 15 - static_cast<double>(y - 18) / (height_ - 42) * 45;
  return NearestIndex(GainTable, db);
}

int GraphGeometry::gridLineColumn(double hz) const {
  double decade = (width_ - 47 - leftInset_ - rightInset_) / 3.0;
  return static_cast<int>(std::trunc(std::log10(hz / 20) * decade)) + 41 + leftInset_;
}

}  // namespace audiodsp
