#pragma once
// The fixed text forms in which values are shown: levels with one decimal and " dB",
// delays with three decimals and their unit, table entries in the shortest general form.
#include <string>

namespace audiodsp {

std::string formatDb(double db);               // "0.0 dB", "-59.8 dB"
std::string formatMs(double ms);               // "8.652 Ms"
std::string formatMetres(double metres);       // "2.980 Mm"
std::string formatFeet(double feet);           // "9.777 Ft"
std::string formatMasterVolume(int position);  // "Mute" for 0, else the level as formatDb
// Up to 15 significant digits, no exponent, no trailing zeros: "19.7", "1000", "1", "-3.2", "0".
std::string formatGeneral(double value);

}  // namespace audiodsp
