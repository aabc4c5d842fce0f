#include "model/value_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "model/display_format.h"

namespace audiodsp {
namespace {

TEST(ValueTables, FreqTableIsTheListedValues) {
  ASSERT_EQ(FreqTable.size(), 244u);
  const std::pair<int, double> spots[] = {{0, 19.7},    {1, 20.3},    {11, 27},     {75, 172},
                                          {76, 179},    {77, 182},    {136, 1000},  {140, 1123},
                                          {216, 10000}, {217, 10300}, {240, 20100}, {243, 21900}};
  for (auto [i, v] : spots) {
    SCOPED_TRACE(i);
    EXPECT_EQ(FreqTable[i], v);
  }
  for (size_t i = 1; i < FreqTable.size(); ++i) EXPECT_LT(FreqTable[i - 1], FreqTable[i]) << i;
}

TEST(ValueTables, StepTablesHoldTheNearestDoubleOfEachDecimal) {
  struct Case {
    const char* table;
    std::span<const double> t;
    int index;
    const char* decimal;
  };
  const Case cases[] = {
      {"gain", GainTable, 0, "-24.0"},
      {"gain", GainTable, 1, "-23.8"},
      {"gain", GainTable, 7, "-22.6"},
      {"gain", GainTable, 104, "-3.2"},
      {"gain", GainTable, 119, "-0.2"},
      {"gain", GainTable, 120, "0.0"},
      {"gain", GainTable, 121, "0.2"},
      {"gain", GainTable, 180, "12.0"},
      {"level", LevelTable, 0, "-20.0"},
      {"level", LevelTable, 3, "-19.7"},
      {"level", LevelTable, 120, "-8.0"},
      {"level", LevelTable, 200, "0.0"},
      {"level", LevelTable, 203, "0.3"},
      {"level", LevelTable, 250, "5.0"},
      {"q", QTable, 0, "0.2"},
      {"q", QTable, 2, "0.6"},
      {"q", QTable, 4, "1.0"},
      {"q", QTable, 14, "3.0"},
      {"q", QTable, 179, "36.0"},
  };
  EXPECT_EQ(GainTable.size(), 181u);
  EXPECT_EQ(LevelTable.size(), 251u);
  EXPECT_EQ(QTable.size(), 180u);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.table) + " " + c.decimal);
    EXPECT_EQ(c.t[c.index], std::stod(c.decimal));
  }
  // Every entry, not just the samples: the table equals the parsed one-decimal text.
  for (size_t i = 0; i < GainTable.size(); ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", -24.0 + 0.2 * static_cast<double>(i));
    EXPECT_EQ(GainTable[i], std::stod(text)) << i;
  }
}

TEST(ValueTables, NearestIndex) {
  struct Case {
    const char* name;
    std::span<const double> t;
    double v;
    int expected;
  };
  const Case cases[] = {
      {"gain tie goes down", GainTable, 0.1, 120},
      {"gain just above tie", GainTable, 0.1000001, 121},
      {"gain exact entry", GainTable, -23.8, 1},
      {"gain below range", GainTable, -99, 0},
      {"freq below first", FreqTable, 10, 0},
      {"freq last", FreqTable, 21900, 243},
      {"freq above last stays on the table", FreqTable, 50000, 243},
      {"freq nearer upper", FreqTable, 176, 76},
      {"freq nearer lower", FreqTable, 175, 75},
      {"freq integer tie", FreqTable, 1015, 136},
      {"level nearer 3.5", LevelTable, 3.47, 235},
      // Midpoints are ties or not by their doubles: 0.3 and 0.5 go down, 1.1 goes up.
      {"q 0.3", QTable, 0.3, 0},
      {"q 0.5", QTable, 0.5, 1},
      {"q 1.1", QTable, 1.1, 5},
      {"q 0.7", QTable, 0.7, 2},
      {"temp 1153", TempTable, 1153, 0},
      {"temp 1154", TempTable, 1154, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NearestIndex(c.t, c.v), c.expected);
  }
}

TEST(ValueTables, Temperature) {
  struct Case {
    uint16_t reading;
    int index;
    const char* text;
  };
  const Case cases[] = {
      {0, 0,
       ">=70 \xC2\xB0"
       "C"},
      {1123, 0,
       ">=70 \xC2\xB0"
       "C"},
      {1150, 0,
       ">=70 \xC2\xB0"
       "C"},
      {1153, 0,
       ">=70 \xC2\xB0"
       "C"},
      {1154, 1,
       "68 \xC2\xB0"
       "C"},
      {2004, 10,
       "50 \xC2\xB0"
       "C"},
      {4859, 29,
       "12 \xC2\xB0"
       "C"},
      {4988, 29,
       "12 \xC2\xB0"
       "C"},
      {4989, 30,
       "<=10 \xC2\xB0"
       "C"},
      {5118, 30,
       "<=10 \xC2\xB0"
       "C"},
      {5119, 30,
       "<=10 \xC2\xB0"
       "C"},
      {65535, 30,
       "<=10 \xC2\xB0"
       "C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reading);
    EXPECT_EQ(temperatureIndex(c.reading), c.index);
    EXPECT_EQ(temperatureText(temperatureIndex(c.reading)), c.text);
  }
  EXPECT_EQ(temperatureText(-3),
            ">=70 \xC2\xB0"
            "C");
  EXPECT_EQ(temperatureText(31),
            "<=10 \xC2\xB0"
            "C");
}

TEST(ValueTables, DelayReadouts) {
  struct Case {
    int steps;
    const char* ms;
    const char* m;
    const char* ft;
  };
  const Case cases[] = {
      {0, "0.000 Ms", "0.000 Mm", "0.000 Ft"},
      {1, "0.021 Ms", "0.007 Mm", "0.024 Ft"},
      {100, "2.100 Ms", "0.723 Mm", "2.373 Ft"},
      {412, "8.652 Ms", "2.980 Mm", "9.777 Ft"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    EXPECT_EQ(formatMs(delayMs(c.steps)), c.ms);
    EXPECT_EQ(formatMetres(delayMetres(c.steps)), c.m);
    EXPECT_EQ(formatFeet(delayFeet(c.steps)), c.ft);
  }
  EXPECT_EQ(delayMs(412), 8.652);
}

TEST(ValueTables, FaderAndMasterVolumeLevels) {
  const std::pair<int, double> fader[] = {{26, 5.0},  {27, 4.8},   {61, 0.1},   {62, 0.0},
                                          {63, -0.1}, {116, -7.5}, {205, -20.0}};
  for (auto [y, db] : fader) {
    SCOPED_TRACE(y);
    EXPECT_EQ(faderLevel(y), db);
  }
  // The fader result must find its LevelTable entry by exact comparison.
  for (int y = 26; y <= 205; ++y) {
    const double db = faderLevel(y);
    EXPECT_EQ(LevelTable[NearestIndex(LevelTable, db)], db) << y;
  }
  const std::pair<int, const char*> volume[] = {
      {0, "Mute"}, {1, "-60.0 dB"}, {2, "-59.8 dB"}, {300, "-0.2 dB"}, {301, "0.0 dB"}};
  for (auto [p, text] : volume) {
    SCOPED_TRACE(p);
    EXPECT_EQ(formatMasterVolume(p), text);
  }
}

TEST(ValueTables, HexConversions) {
  const std::pair<uint16_t, const char*> words[] = {
      {301, "012D"}, {5, "0005"}, {0, "0000"}, {0xFFFF, "FFFF"}};
  for (auto [v, text] : words) EXPECT_EQ(wordToHex(v), text) << v;
  EXPECT_EQ(hexToInt("012D"), std::optional<uint32_t>(301));
  EXPECT_EQ(hexToInt("ff"), std::optional<uint32_t>(255));
  EXPECT_EQ(hexToInt("00000000FFFFFFFF"), std::optional<uint32_t>(0xFFFFFFFF));
  for (const char* bad : {"", "12G4", " 12", "-1", "1FFFFFFFF"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(hexToInt(bad), std::nullopt);
  }
}

TEST(DisplayFormat, LevelsAndGeneralForm) {
  const std::pair<double, const char*> db[] = {{LevelTable[0], "-20.0 dB"},
                                               {LevelTable[120], "-8.0 dB"},
                                               {LevelTable[250], "5.0 dB"},
                                               {-1e-12, "0.0 dB"},
                                               {0.15 - 0.2, "-0.1 dB"}};
  for (auto [v, text] : db) EXPECT_EQ(formatDb(v), text) << v;
  const std::pair<double, const char*> general[] = {{FreqTable[0], "19.7"},
                                                    {FreqTable[136], "1000"},
                                                    {FreqTable[243], "21900"},
                                                    {QTable[4], "1"},
                                                    {QTable[179], "36"},
                                                    {GainTable[104], "-3.2"},
                                                    {GainTable[120], "0"},
                                                    {-0.0, "0"},
                                                    {GainTable[1], "-23.8"},
                                                    {0.1 + 0.2, "0.3"},
                                                    {1.0 / 3, "0.333333333333333"},
                                                    {1e20, "100000000000000000000"},
                                                    {0.00012, "0.00012"}};
  for (auto [v, text] : general) EXPECT_EQ(formatGeneral(v), text) << v;
}

}  // namespace
}  // namespace audiodsp
