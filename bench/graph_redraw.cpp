// Redraw costs of the response graph while the user edits or drags: each must stay well
// under a millisecond so that mouse moves are drawn as they come.
#include <benchmark/benchmark.h>

#include "graph/response_graph.h"
#include "model/param_model.h"

namespace audiodsp {
namespace {

// A busy output: all six bands set and both filters on, as after loading a real group.
ParamModel busyModel() {
  ParamModel model;
  const EqBand bands[] = {{20, 1, 120, 150, 4},   {60, 0, 160, 120, 8},  {100, 0, 90, 120, 2},
                          {140, 0, 140, 120, 12}, {180, 0, 110, 120, 4}, {220, 2, 120, 100, 4}};
  for (int o = 0; o < kOutputCount; ++o) {
    for (int b = 0; b < kBandsPerOutput; ++b) model.band[bandSlotOf(o, b)] = bands[b];
    model.crossover[o] = Crossover{30, 7, 210, 8};
  }
  return model;
}

// One band edit: background copy, one band recomputed over the 672 columns, the total and
// the six markers drawn.
void BM_BandRedraw(benchmark::State& state) {
  ResponseGraph graph;
  graph.recomputeAll(busyModel());
  EqBand band{100, 0, 150, 120, 4};
  for (auto _ : state) {
    band.freq = band.freq == 100 ? 101 : 100;
    graph.bandRedraw(0, 2, band);
    benchmark::DoNotOptimize(graph.image()->bits());
  }
}
BENCHMARK(BM_BandRedraw)->Unit(benchmark::kMicrosecond);

// One crossover edit as the editor does it: background copy, the 24 dB Bessel low-pass
// (two sections) recomputed, the total and the markers drawn.
void BM_FilterRedraw(benchmark::State& state) {
  ResponseGraph graph;
  graph.recomputeAll(busyModel());
  int freq = 200;
  for (auto _ : state) {
    freq = freq == 200 ? 201 : 200;
    graph.paintBackground();
    graph.drawLowPass(0, freq, 8);
    graph.drawMarkers(0);
    benchmark::DoNotOptimize(graph.image()->bits());
  }
}
BENCHMARK(BM_FilterRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace audiodsp
