#pragma once
// The fixed tables that the image's parameter indexes point into, the one rule by which a
// typed or dragged value snaps back to an index, and the unit conversions of delay, level
// and temperature. Parameters live as indexes; the physical values exist only for display.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace audiodsp {

namespace detail {
// Entry i is (first + step * i) tenths. Dividing the exact integer by 10 gives the double
// nearest to the one-decimal value, so "-23.8" typed by the user compares equal to its
// entry; adding 0.2 repeatedly would drift away from it.
template <size_t N>
constexpr std::array<double, N> tenthsTable(int first, int step) {
  std::array<double, N> t{};
  for (size_t i = 0; i < N; ++i) t[i] = (first + step * static_cast<int>(i)) / 10.0;
  return t;
}
}  // namespace detail

// Band, HPF and LPF frequencies in Hz, about 1/24 octave apart. Measured values, not a
// formula: the steps are uneven (entry 76 is 179, entry 140 is 1123).
inline constexpr std::array<double, 244> FreqTable = {
    19.7,  20.3,  20.9,  21.5,  22.1,  22.7,  23.4,  24.1,  24.8,  25.5,  26.3,  27,    27.8,  28.7,  29.5,
    30.4,  31.3,  32.2,  33.1,  34.1,  35.1,  36.1,  37.2,  38.3,  39.4,  40.5,  41.7,  42.9,  44.2,  45.5,
    46.8,  48.2,  49.6,  51.1,  52.6,  54.1,  55.7,  57.3,  59,    60.7,  62.5,  64.3,  66.2,  68.2,  70.2,
    72.2,  74.3,  76.5,  78.7,  81.1,  83.4,  85.9,  88.4,  91,    93.6,  96.4,  99.2,  102,   105,   108,
    111,   115,   118,   121,   125,   129,   132,   136,   140,   144,   149,   153,   158,   162,   167,
    172,   179,   182,   187,   193,   198,   204,   210,   216,   223,   229,   236,   243,   250,   257,
    265,   273,   281,   289,   297,   306,   315,   324,   334,   344,   354,   364,   375,   386,   397,
    409,   420,   433,   445,   459,   472,   486,   500,   515,   530,   545,   561,   578,   595,   612,
    630,   648,   667,   687,   707,   728,   749,   771,   794,   817,   841,   866,   891,   917,   944,
    972,   1000,  1030,  1060,  1090,  1123,  1155,  1190,  1224,  1260,  1297,  1335,  1374,  1414,  1456,
    1498,  1542,  1587,  1634,  1682,  1731,  1782,  1834,  1888,  1943,  2000,  2059,  2119,  2181,  2245,
    2311,  2378,  2448,  2520,  2594,  2670,  2748,  2828,  2911,  2997,  3084,  3175,  3268,  3364,  3462,
    3564,  3668,  3776,  3886,  4000,  4117,  4238,  4362,  4490,  4621,  4757,  4896,  5040,  5187,  5339,
    5496,  5657,  5823,  5993,  6169,  6350,  6536,  6727,  6924,  7127,  7336,  7551,  7772,  8000,  8234,
    8476,  8724,  8980,  9243,  9514,  9792,  10000, 10300, 10600, 10900, 11300, 11600, 11900, 12300, 12600,
    13000, 13400, 13800, 14200, 14600, 15100, 15500, 16000, 16400, 16900, 17400, 17900, 18400, 19000, 19500,
    20100, 20700, 21300, 21900};

// Band gains in dB: -24.0 .. +12.0 in 0.2 dB steps.
inline constexpr std::array<double, 181> GainTable = detail::tenthsTable<181>(-240, 2);
// Output levels of High, Mid and Low in dB: -20.0 .. +5.0 in 0.1 dB steps.
inline constexpr std::array<double, 251> LevelTable = detail::tenthsTable<251>(-200, 1);
// Band Q: 0.2 .. 36.0 in 0.2 steps.
inline constexpr std::array<double, 180> QTable = detail::tenthsTable<180>(2, 2);
// Raw readings of the temperature sensor; entry i stands for 70 - 2i degrees Celsius
// (entry 0: 70 and above, entry 30: 10 and below).
inline constexpr std::array<double, 31> TempTable = {
    1123, 1184, 1260, 1336, 1412, 1503, 1594, 1685, 1792, 1883, 2004, 2110, 2232, 2353, 2490, 2627,
    2779, 2915, 3037, 3219, 3386, 3538, 3705, 3872, 4054, 4221, 4404, 4556, 4753, 4859, 5118};

inline constexpr int kFreqMaxIndex = 243;
inline constexpr int kGainMaxIndex = 180;
inline constexpr int kGainZeroIndex = 120;  // 0.0 dB
inline constexpr int kLevelMaxIndex = 250;
inline constexpr int kLevelLowMaxIndex = 200;  // Low tops out at 0.0 dB
inline constexpr int kLevelZeroIndex = 200;
inline constexpr int kQMaxIndex = 179;
inline constexpr int kQOneIndex = 4;  // Q 1.0
inline constexpr int kTempMaxIndex = 30;
inline constexpr uint16_t kTempReadingMax = 5118;
inline constexpr int kDelayMaxSteps = 412;    // range of the delay sliders
inline constexpr int kMasterVolumeMax = 301;  // 0.0 dB; 0 is mute
inline constexpr int kSlopeMaxIndex = 8;

// Names as the selectors show them.
inline constexpr std::array<std::string_view, 9> SlopeList = {"12db-Bworth", "12db-LR", "12db-Bessel",
                                                              "18db-Bworth", "18db-LR", "18db-Bessel",
                                                              "24db-Bworth", "24db-LR", "24db-Bessel"};
inline constexpr std::array<std::string_view, 3> BandTypeList = {"PEQ", "LS", "HS"};
inline constexpr std::array<std::string_view, 20> LimiterThresholdList = {
    "-19dBu", "-18dBu", "-17dBu", "-16dBu", "-15dBu", "-14dBu", "-13dBu", "-12dBu", "-11dBu", "-10dBu",
    "-9dBu",  "-8dBu",  "-7dBu",  "-6dBu",  "-5dBu",  "-4dBu",  "-3dBu",  "-2dBu",  "-1dBu",  "0dBu"};
inline constexpr std::array<std::string_view, 7> LimiterAttackList = {"0.5 ms", "1 ms",  "2 ms", "5 ms",
                                                                      "10 ms",  "20 ms", "50 ms"};
inline constexpr std::array<std::string_view, 7> LimiterReleaseList = {"90ms",   "200ms",  "500ms", "700ms",
                                                                       "1200ms", "2000ms", "5000ms"};

// Index of the entry nearest to `value` in an ascending table; a tie goes to the lower
// index, anything at or below the first entry gives 0. Values above the last entry give
// the last index (callers clamp first, but a stray value must not run off the table).
int NearestIndex(std::span<const double> table, double value);

// Entry of a table at an index brought into the table's range.
inline double tableEntry(std::span<const double> table, int index) {
  if (table.empty()) return 0;
  return table[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(table.size()) - 1))];
}

// Delay steps of 0.021 ms. The product is formed in extended precision and rounded to a
// double, so the readouts round the same way everywhere.
double delayMs(int steps);
double delayMetres(int steps);  // sound travels 1 m in 2.9034 ms
double delayFeet(int steps);    // 3.281 ft per metre

// Level in dB of the gain fader at pixel row y (row 26 is +5.0 dB, row 205 is -20.0 dB),
// truncated toward zero to 0.1 dB; equals a LevelTable entry exactly within that range.
double faderLevel(int y);
// Master volume slider position to dB: position x 0.2 - 60.2 (position 0 means mute).
double masterVolumeLevel(int position);

// Sensor reading to TempTable index (readings above 5118 count as 5118).
int temperatureIndex(uint16_t reading);
// ">=70 °C" for 0, "<=10 °C" for 30, else "N °C" (UTF-8). Indexes outside 0..30 are taken
// as the nearest end.
std::string temperatureText(int index);

// Exactly four upper-case hex digits, high byte first: 301 -> "012D".
std::string wordToHex(uint16_t value);
// Value of a text of hex digits (either case). nullopt for an empty text, a non-hex
// character or a value beyond 32 bits: the file loaders reject such texts.
std::optional<uint32_t> hexToInt(std::string_view text);

}  // namespace audiodsp
