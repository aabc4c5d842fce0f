#include "model/display_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/value_tables.h"

namespace audiodsp {

namespace {

// Fixed decimals, without the minus sign of a value that rounds to zero: a level a hair
// below 0 is shown as "0.0", never "-0.0".
std::string fixed(double v, int decimals) {
  std::string s(static_cast<size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, v)), '\0');
  std::snprintf(s.data(), s.size() + 1, "%.*f", decimals, v);
  if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

}  // namespace

std::string formatDb(double db) {
  return fixed(db, 1) + " dB";
}
std::string formatMs(double ms) {
  return fixed(ms, 3) + " Ms";
}
std::string formatMetres(double metres) {
  return fixed(metres, 3) + " Mm";
}
std::string formatFeet(double feet) {
  return fixed(feet, 3) + " Ft";
}

std::string formatMasterVolume(int position) {
  return position == 0 ? std::string("Mute") : formatDb(masterVolumeLevel(position));
}

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) return fixed(value, 0);
  if (value == 0) return "0";
  // Round to 15 significant digits first, then write that without an exponent.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
  const int decimals = std::max(0, 14 - exponent);
  std::string s = fixed(std::strtod(buf, nullptr), decimals);
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

}  // namespace audiodsp
