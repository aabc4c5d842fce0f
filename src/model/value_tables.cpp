#include "model/value_tables.h"

#include <algorithm>
#include <cmath>

#include "protocol/frame_codec.h"

namespace audiodsp {

int NearestIndex(std::span<const double> table, double value) {
  if (table.empty() || std::isnan(value)) return 0;
  for (size_t i = 1; i < table.size(); ++i) {
    if (value <= table[i]) {
      return static_cast<int>((value - table[i - 1]) > (table[i] - value) ? i : i - 1);
    }
  }
  return static_cast<int>(table.size() - 1);
}

double delayMs(int steps) {
  return static_cast<double>(static_cast<long double>(steps) * 0.021L);
}

double delayMetres(int steps) {
  return static_cast<double>(delayMs(steps) / 2.9034L);
}

double delayFeet(int steps) {
  return static_cast<double>(delayMs(steps) * 3.281L / 2.9034L);
}

double faderLevel(int y) {
  // (5 - (y - 26) * 25 / 179) * 10 over one denominator, truncated toward zero exactly as
  // integer division does; the float form can only differ where the value is an integer.
  const int tenths = (50 * 179 - 250 * (y - 26)) / 179;
  return tenths / 10.0;
}

double masterVolumeLevel(int position) {
  return (2 * position - 602) / 10.0;
}

int temperatureIndex(uint16_t reading) {
  return NearestIndex(TempTable, std::min<double>(reading, kTempReadingMax));
}

std::string temperatureText(int index) {
  static constexpr std::string_view kDegrees =
      " \xC2\xB0"
      "C";
  if (index <= 0) return ">=70" + std::string(kDegrees);
  if (index >= kTempMaxIndex) return "<=10" + std::string(kDegrees);
  return std::to_string(70 - 2 * index) + std::string(kDegrees);
}

std::string wordToHex(uint16_t value) {
  const std::array<uint8_t, 2> bytes = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
  return toHex(bytes);
}

std::optional<uint32_t> hexToInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    const int d = hexDigitValue(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint64_t>(d);
    if (v > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(v);
}

}  // namespace audiodsp
