#pragma once
// Digital biquad sections and their magnitude in the graph's dB scale. A filter is a short
// chain of sections whose dB values add up.
#include <array>
#include <cmath>

namespace audiodsp {

// (B0 + B1 z^-1 + B2 z^-2) / (A0 + A1 z^-1 + A2 z^-2), kept normalised by A0.
class Biquad {
 public:
  Biquad(double a0, double a1, double a2, double b0, double b1, double b2)
      : a1_(a1 / a0), a2_(a2 / a0), b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0) {}
  // Passes everything unchanged (0 dB at every frequency).
  static Biquad passThrough() { return Biquad(1, 0, 0, 1, 0, 0); }

  // Magnitude at the angular frequency whose cosine and sine are given, in the graph's
  // unit: 40 ln|H| / ln 101 (about 19.96 log10|H|, slightly less than decibels).
  double db(double cosW, double sinW) const {
    double denRe = cosW + a1_ + a2_ * cosW;
    double denIm = sinW - a2_ * sinW;
    double numRe = b0_ * cosW + b1_ + b2_ * cosW;
    double numIm = b0_ * sinW - b2_ * sinW;
    double magnitude = std::sqrt((numRe * numRe + numIm * numIm) / (denRe * denRe + denIm * denIm));
    return 40 * std::log(magnitude) / kLn101;
  }

 private:
  static constexpr double kLn101 = 4.6151205168412594509;  // ln 101

  double a1_, a2_, b0_, b1_, b2_;
};

// Up to four sections; unused ones are left out rather than evaluated as pass-throughs,
// which would add exactly 0 dB.
class SectionChain {
 public:
  void add(const Biquad& section) {
    if (count_ < static_cast<int>(sections_.size())) sections_[count_++] = section;
  }
  int size() const { return count_; }
  const Biquad& operator[](int i) const { return sections_[i]; }

  double db(double cosW, double sinW) const {
    double sum = 0;
    for (int i = 0; i < count_; ++i) sum += sections_[i].db(cosW, sinW);
    return sum;
  }

 private:
  std::array<Biquad, 4> sections_{Biquad::passThrough(), Biquad::passThrough(), Biquad::passThrough(),
                                  Biquad::passThrough()};
  int count_ = 0;
};

}  // namespace audiodsp
