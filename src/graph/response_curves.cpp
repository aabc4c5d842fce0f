#include "graph/response_curves.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/value_tables.h"

namespace audiodsp {

namespace {

// A leading coefficient of exactly 0 would divide by zero; the design nudges it instead.
double nonZero(double a0) {
  return a0 == 0 ? 1e-10 : a0;
}

// Low-pass slopes. Butterworth and Linkwitz-Riley slopes are second-order sections with
// d = 1 / (2Q), the 18 dB ones led by a first-order section; the Bessel slopes are
// analogue prototypes 1 / (1 + p s + q s^2) at the corner divided by a normalising factor.
struct LowPassDesign {
  bool bessel;
  double divisor;     // Bessel normalising factor, 1 otherwise
  double firstOrder;  // d1 of a leading first-order section, 0 for none
  int count;
  std::array<std::array<double, 2>, 2> sections;  // {d, unused} or {p, q}
};

constexpr std::array<LowPassDesign, 9> kLowPass = {{
    {false, 1, 0, 1, {{{0.70422535, 0}}}},
    {false, 1, 0, 1, {{{1.0, 0}}}},
    {true, 1.3616541287, 0, 1, {{{1.0, 0.3333333333}}}},
    {false, 1, 1.0, 1, {{{0.5, 0}}}},
    {false, 1, 1.0, 1, {{{0.70422535211, 0}}}},
    {true, 1.75567236868, 0, 2, {{{0.5693712514, 0.154812441}, {0.430628846, 0}}}},
    {false, 1, 0, 2, {{{0.92592593, 0}, {0.38167939, 0}}}},
    {false, 1, 0, 2, {{{0.70422535211, 0}, {0.70422535211, 0}}}},
    {true, 2.1139176749, 0, 2, {{{0.369, 0.087858766}, {0.6278294896, 0.109408}}}},
}};

// High-pass slopes: second-order sections only, each slope with its own d values (the
// Bessel ones too, at a divided corner); the 18 dB slopes lead with a first-order section.
// These are not the low-pass values mirrored.
struct HighPassDesign {
  double divisor;
  double firstOrder;
  int count;
  std::array<double, 2> d;
};

constexpr std::array<HighPassDesign, 9> kHighPass = {{
    {1, 0, 1, {0.70422535, 0}},
    {1, 0, 1, {1.0, 0}},
    {1.2683112435, 0, 1, {0.70422535, 0}},
    {1, 1.0, 1, {0.5, 0}},
    {1, 1.0, 1, {0.70422535211, 0}},
    {1.2854981442, 0.756, 1, {0.72463768, 0}},
    {1, 0, 2, {0.92592593, 0.38167939}},
    {1, 0, 2, {0.70422535211, 0.70422535211}},
    {1.5006420029, 0, 2, {0.96153846, 0.61728395}},
}};

constexpr double kLowPassOffHz = 60000;  // the top frequency index switches the low-pass off
constexpr double kHighPassOffHz = 1;     // the bottom index switches the high-pass off

Biquad shelf(double f0, double gainDb, double cornerFactor, bool low) {
  if (gainDb == 0) return Biquad::passThrough();
  constexpr double kSlope = 1.3;
  double w0 = cornerFactor * kDesignK * f0;
  double a = std::pow(10.0, gainDb / 40);
  double alpha = std::sin(w0) / 2 * std::sqrt((a + 1 / a) * (1 / kSlope - 1) + 2);
  double beta = 2 * std::sqrt(a) * alpha;
  double c = std::cos(w0);
  if (low)
    return Biquad((a + 1) + (a - 1) * c + beta, -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - beta,
                  a * ((a + 1) - (a - 1) * c + beta), 2 * a * ((a - 1) - (a + 1) * c),
                  a * ((a + 1) - (a - 1) * c - beta));
  return Biquad((a + 1) - (a - 1) * c + beta, 2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - beta,
                a * ((a + 1) + (a - 1) * c + beta), -2 * a * ((a - 1) + (a + 1) * c),
                a * ((a + 1) + (a - 1) * c - beta));
}

}  // namespace

Biquad peakingSection(double f0, double gainDb, double q) {
  double w0 = kDesignK * f0;
  double a = std::pow(10.0, gainDb / 40);
  double bw = std::asinh(1 / (2 * q)) / 0.34657359;
  double alpha = std::sin(w0) * std::sinh(0.69314718 * bw * w0 / std::sin(w0));
  double c = std::cos(w0);
  return Biquad(1 + alpha / a, -2 * c, 1 - alpha / a, 1 + alpha * a, -2 * c, 1 - alpha * a);
}

Biquad lowShelfSection(double f0, double gainDb) {
  return shelf(f0, gainDb, 1.2727272727, true);
}

Biquad highShelfSection(double f0, double gainDb) {
  return shelf(f0, gainDb, 0.76923076923, false);
}

Biquad bandSection(int type, double f0, double gainDb, double q) {
  switch (type) {
    case 1:
      return lowShelfSection(f0, gainDb);
    case 2:
      return highShelfSection(f0, gainDb);
    default:
      return peakingSection(f0, gainDb, q);
  }
}

SectionChain lowPassChain(int freqIndex, int slope) {
  freqIndex = std::clamp(freqIndex, 0, kFreqMaxIndex);
  const LowPassDesign& design = kLowPass[std::clamp(slope, 0, kSlopeMaxIndex)];
  double fc = freqIndex == kFreqMaxIndex ? kLowPassOffHz : FreqTable[freqIndex];
  SectionChain chain;
  if (design.bessel) {
    double k = std::tan(kDesignK * (fc / design.divisor) / 2);
    for (int i = 0; i < design.count; ++i) {
      auto [p, q] = design.sections[i];  // q = 0 makes the section first order
      chain.add(Biquad(p * k + k * k + q, 2 * k * k - 2 * q, k * k - p * k + q, k * k, 2 * k * k, k * k));
    }
    return chain;
  }
  double w0 = kDesignK * fc;
  double c = std::cos(w0);
  if (design.firstOrder != 0) {
    double u = std::tan(w0 / 2);
    chain.add(Biquad(nonZero(u + design.firstOrder), u - design.firstOrder, 0, u, u, 0));
  }
  for (int i = 0; i < design.count; ++i) {
    double alpha = std::sin(w0) * design.sections[i][0];
    double b0 = (1 - c) / 2;
    chain.add(Biquad(nonZero(1 + alpha), -2 * c, 1 - alpha, b0, 2 * b0, b0));
  }
  return chain;
}

SectionChain highPassChain(int freqIndex, int slope) {
  freqIndex = std::clamp(freqIndex, 0, kFreqMaxIndex);
  const HighPassDesign& design = kHighPass[std::clamp(slope, 0, kSlopeMaxIndex)];
  double fc = (freqIndex == 0 ? kHighPassOffHz : FreqTable[freqIndex]) / design.divisor;
  double w0 = kDesignK * fc;
  double c = std::cos(w0);
  SectionChain chain;
  if (design.firstOrder != 0) {
    double u = std::tan(w0 / 2);
    chain.add(Biquad(nonZero(design.firstOrder * u + 1), design.firstOrder * u - 1, 0, 1, -1, 0));
  }
  for (int i = 0; i < design.count; ++i) {
    double alpha = std::sin(w0) * design.d[i];
    double b0 = (1 + c) / 2;
    chain.add(Biquad(nonZero(1 + alpha), -2 * c, 1 - alpha, b0, -2 * b0, b0));
  }
  return chain;
}

}  // namespace audiodsp
