#include "graph/response_graph.h"

#include <algorithm>
#include <cmath>

#include "graph/band_markers.h"
#include "graph/grid_bitmap.h"
#include "graph/response_curves.h"
#include "model/value_tables.h"

namespace audiodsp {

namespace {

constexpr double kSampleRate = 96000;

bool validOutput(int output) {
  return output >= 0 && output < kOutputCount;
}
bool validSlot(int slot) {
  return slot >= 0 && slot < kBandSlotCount;
}

}  // namespace

ResponseGraph::ResponseGraph(const TextRenderer* text, int width, int height)
    : geometry_(std::clamp(width, 100, kMaxWidth), std::max(height, 60)),
      grid_(buildGridBitmap(geometry_, text)),
      image_(std::make_shared<Bitmap>(grid_)),
      canvas_(*image_, text) {
  for (int x = geometry_.firstColumn(); x <= geometry_.lastColumn(); ++x) {
    double f = geometry_.columnToFrequency(x);
    double w = 6.283185307179586 * f / kSampleRate;
    // The peaking band is evaluated with pi cut to 3.141592; its curve is calibrated to it.
    double wPeak = 2 * 3.141592 * f / kSampleRate;
    angles_.push_back(ColumnAngles{std::cos(w), std::sin(w), std::cos(wPeak), std::sin(wPeak)});
  }
  for (int slot = 0; slot < kBandSlotCount; ++slot) markers_[slot] = kStartMarkers[slot % 6];
}

void ResponseGraph::paintBackground() {
  canvas_.draw(0, 0, grid_);
}

template <typename Eval>
void ResponseGraph::compute(Response& out, Eval&& eval) const {
  for (size_t i = 0; i < angles_.size(); ++i) out[geometry_.firstColumn() - 41 + i] = eval(angles_[i]);
}

void ResponseGraph::bandRedraw(int output, int slot, int type, int freqIndex, int gainIndex, int qIndex) {
  if (!validOutput(output) || !validSlot(slot)) return;
  Point& m = markers_[slot];
  m.x = geometry_.frequencyToColumn(FreqTable[std::clamp(freqIndex, 0, kFreqMaxIndex)]);
  m.y = geometry_.gainToRow(GainTable[std::clamp(gainIndex, 0, kGainMaxIndex)]);
  paintBackground();

  // The curve follows the marker's pixel position, not the table values themselves.
  double f0 = geometry_.columnToFrequency(m.x);
  double gain = geometry_.rowToGain(m.y);
  double q = QTable[std::clamp(qIndex, 0, kQMaxIndex)];
  Biquad section = bandSection(type, f0, gain, q);
  if (type == 1 || type == 2)
    compute(band_[slot], [&](const ColumnAngles& a) { return section.db(a.cos, a.sin); });
  else
    compute(band_[slot], [&](const ColumnAngles& a) { return section.db(a.cosPeak, a.sinPeak); });

  drawTotal(output);
  drawMarkers(output);
}

void ResponseGraph::drawHighPass(int output, int freqIndex, int slope) {
  if (!validOutput(output)) return;
  SectionChain chain = highPassChain(freqIndex, slope);
  compute(highPass_[output], [&](const ColumnAngles& a) { return chain.db(a.cos, a.sin); });
  drawTotal(output);
}

void ResponseGraph::drawLowPass(int output, int freqIndex, int slope) {
  if (!validOutput(output)) return;
  SectionChain chain = lowPassChain(freqIndex, slope);
  compute(lowPass_[output], [&](const ColumnAngles& a) { return chain.db(a.cos, a.sin); });
  drawTotal(output);
}

void ResponseGraph::recomputeAll(const ParamModel& model) {
  for (int output = 0; output < kOutputCount; ++output) {
    for (int band = 0; band < kBandsPerOutput; ++band) {
      int slot = bandSlotOf(output, band);
      bandRedraw(output, slot, model.band[slot]);
    }
    const Crossover& xo = model.crossover[output];
    drawHighPass(output, xo.hpfFreq, xo.hpfSlope);
    drawLowPass(output, xo.lpfFreq, xo.lpfSlope);
  }
}

double ResponseGraph::totalAt(int output, int x) const {
  int pos = x - 41;
  double sum = 0;
  for (int band = 0; band < kBandsPerOutput; ++band) sum += band_[bandSlotOf(output, band)][pos];
  return sum + highPass_[output][pos] + lowPass_[output][pos];
}

void ResponseGraph::drawTotal(int output) {
  if (!validOutput(output)) return;
  canvas_.pen() = Pen{colors::kRed, 1};
  for (int x = geometry_.firstColumn(); x <= geometry_.lastColumn(); ++x) {
    int y = geometry_.gainToRow(totalAt(output, x));
    if (x == geometry_.firstColumn())
      canvas_.moveTo(x, y);
    else
      canvas_.lineTo(x, y);
  }
}

void ResponseGraph::drawMarkers(int output) {
  if (validOutput(output)) drawBandMarkers(canvas_, markers(output));
}

void ResponseGraph::setMarker(int slot, Point p) {
  if (validSlot(slot)) markers_[slot] = p;
}

std::span<const Point, 6> ResponseGraph::markers(int output) const {
  return std::span<const Point, 6>(markers_.data() + bandSlotOf(output, 0), 6);
}

}  // namespace audiodsp
