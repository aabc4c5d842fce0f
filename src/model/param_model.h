#pragma once
// The editor's decoded copy of the current group: one integer per field of the image,
// indexes into the value tables rather than physical values. Outputs are numbered
// 0 High, 1 Mid, 2 Low, 3 Main; a BandSlot is output * 6 + band.
//
// Decoding clamps only the fields whose ranges the editors rely on (see group_image.h);
// delay, master volume, limiter indexes and the flags are held as they arrived, so the
// accessors below give the controls a value that always fits their range.
#include <algorithm>
#include <array>
#include <cstddef>

#include "model/value_tables.h"

namespace audiodsp {

inline constexpr int kOutputCount = 4;
inline constexpr int kLevelOutputCount = 3;  // High, Mid, Low have gain, mute and limiter
inline constexpr int kMainOutput = 3;
inline constexpr int kBandsPerOutput = 6;
inline constexpr int kBandSlotCount = 24;

inline constexpr int bandSlotOf(int output, int band) {
  return output * kBandsPerOutput + band;
}

struct EqBand {
  int freq = 0;                    // FreqTable index
  int type = 0;                    // 0 PEQ, 1 low shelf, 2 high shelf
  int peqGain = kGainZeroIndex;    // GainTable index, in force for PEQ
  int shelfGain = kGainZeroIndex;  // GainTable index, in force for the shelves
  int q = kQOneIndex;              // QTable index

  // The gain the band applies: the two gains are kept apart and never copied.
  int gainInForce() const { return type == 0 ? peqGain : shelfGain; }
  int& gainInForce() { return type == 0 ? peqGain : shelfGain; }

  bool operator==(const EqBand&) const = default;
};

struct Crossover {
  int hpfFreq = 0;   // FreqTable index; 0 is the lowest, i.e. effectively off
  int hpfSlope = 0;  // SlopeList index
  int lpfFreq = kFreqMaxIndex;
  int lpfSlope = 0;

  bool operator==(const Crossover&) const = default;
};

struct ParamModel {
  // Start-up values, before any image has been read.
  ParamModel();

  std::array<int, kLevelOutputCount> gain;   // LevelTable index
  std::array<int, kLevelOutputCount> on;     // 1 sounding, 0 muted
  std::array<int, kOutputCount> delay{};     // steps of 0.021 ms
  std::array<int, kOutputCount> polarity{};  // 0 "+", 1 "-"
  std::array<Crossover, kOutputCount> crossover{};
  std::array<int, kLevelOutputCount> limiterThreshold{};  // LimiterThresholdList index
  std::array<int, kLevelOutputCount> limiterAttack{};     // LimiterAttackList index
  std::array<int, kLevelOutputCount> limiterRelease{};    // LimiterReleaseList index
  std::array<EqBand, kBandSlotCount> band{};
  int recoup = 0;        // RecoupFlag
  int masterVolume = 0;  // slider position: 0 mute, 301 is 0.0 dB
  int btl = 0;           // BtlMode

  // Views that always fit the controls, whatever an image carried.
  int delaySliderPosition(int output) const { return std::clamp(delay[output], 0, kDelayMaxSteps); }
  int masterVolumeSliderPosition() const { return std::clamp(masterVolume, 0, kMasterVolumeMax); }
  int maxGainIndex(int output) const { return output == 2 ? kLevelLowMaxIndex : kLevelMaxIndex; }
  bool muted(int output) const { return on[output] == 0; }
  bool inverted(int output) const { return polarity[output] != 0; }
  bool btlOn() const { return btl != 0; }

  bool operator==(const ParamModel&) const = default;
};

// Item of a selection list for a stored index, or -1 (no selection) when the index lies
// outside the list, so a stray value from an image never indexes past the list.
inline int listItem(int index, size_t count) {
  return index >= 0 && static_cast<size_t>(index) < count ? index : -1;
}

}  // namespace audiodsp
