#pragma once
// Design of the eight responses the graph adds up for one output: six EQ bands (peaking,
// low shelf, high shelf) and the high-pass and low-pass crossover filters with their nine
// slopes, all as digital biquads at 96 kHz.
#include "graph/biquad.h"

namespace audiodsp {

// Converts Hz to radians per sample when coefficients are designed (about 2 pi / 96000).
inline constexpr double kDesignK = 0.00006544985;

// A band of the given type (0 peaking, 1 low shelf, 2 high shelf) at f0 Hz with the gain
// in dB; q matters for the peaking band only. A gain of 0 gives an exactly flat band.
Biquad bandSection(int type, double f0, double gainDb, double q);
Biquad peakingSection(double f0, double gainDb, double q);
Biquad lowShelfSection(double f0, double gainDb);
Biquad highShelfSection(double f0, double gainDb);

// The crossover filters from their FreqTable index and SlopeList index (both brought into
// range). The top frequency index switches the low-pass off by moving it to 60 kHz, the
// bottom index switches the high-pass off by moving it to 1 Hz.
SectionChain lowPassChain(int freqIndex, int slope);
SectionChain highPassChain(int freqIndex, int slope);

}  // namespace audiodsp
