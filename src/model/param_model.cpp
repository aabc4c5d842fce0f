#include "model/param_model.h"

namespace audiodsp {

ParamModel::ParamModel() {
  gain.fill(120);  // -8.0 dB
  on.fill(1);
  // Six bands spread over the range: 19.7, 51.1, 102, 198, 500 and 1000 Hz.
  static constexpr std::array<int, kBandsPerOutput> kBandFreqs = {0, 33, 57, 80, 112, 136};
  for (int s = 0; s < kBandSlotCount; ++s) band[s].freq = kBandFreqs[s % kBandsPerOutput];
}

}  // namespace audiodsp
