#include "graph/band_markers.h"

#include <gtest/gtest.h>

#include "graph/response_graph.h"

namespace audiodsp {
namespace {

constexpr Color kPaper{7, 7, 7};

TEST(BandMarkers, SquaresInBandColoursWithNumbersAboveOrBelow) {
  // Band 1 in the upper half (number above), band 4 on row 117 (number below).
  const std::array<Point, 6> markers = {Point{150, 60},  Point{250, 60},  Point{350, 60},
                                        Point{450, 117}, Point{550, 200}, Point{650, 30}};
  Bitmap b(720, 249, kPaper);
  Canvas canvas(b);
  drawBandMarkers(canvas, markers);
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k + 1);
    Point m = markers[k];
    EXPECT_EQ(b.pixel(m.x - 4, m.y - 4), kBandColors[k]);
    EXPECT_EQ(b.pixel(m.x + 3, m.y + 3), kBandColors[k]);
    EXPECT_EQ(b.pixel(m.x + 4, m.y), kPaper);
  }
  // "1" at (148, 42): its stem is at column 150 from cell row 3 down.
  EXPECT_EQ(b.pixel(150, 42 + 3), colors::kWhite);
  EXPECT_EQ(b.pixel(150, 42 + 9), colors::kWhite);
  // "4" at (448, 121): the glyph's bar is on its fifth row.
  EXPECT_EQ(b.pixel(448, 121 + 3 + 4), colors::kWhite);
  EXPECT_EQ(b.pixel(452, 121 + 3 + 4), colors::kWhite);
  // The text background is clear: the cell around the glyph keeps the picture.
  EXPECT_EQ(b.pixel(148, 42), kPaper);
}

TEST(BandMarkers, NumbersAreDrawnOverEveryNeighbouringSquare) {
  std::array<Point, 6> markers = {Point{200, 100}, Point{200, 88},  Point{300, 150},
                                  Point{400, 150}, Point{500, 150}, Point{600, 150}};
  Bitmap b(720, 249, kPaper);
  Canvas canvas(b);
  drawBandMarkers(canvas, markers);
  // The top of band 1's "1" (cell at 198, 82) lies inside band 2's square.
  EXPECT_EQ(b.pixel(200, 85), colors::kWhite);
  EXPECT_EQ(b.pixel(197, 85), kBandColors[1]);
}

TEST(BandMarkers, GrabWithinEightPixelsLowestBandFirst) {
  const std::array<Point, 6> markers = {Point{100, 86},  Point{200, 86},  Point{206, 90},
                                        Point{400, 120}, Point{500, 150}, Point{600, 198}};
  struct Case {
    Point press;
    int band;
  };
  const Case cases[] = {
      {{107, 86}, 0}, {{108, 86}, -1}, {{93, 86}, 0},   {{92, 86}, -1},   {{100, 93}, 0},
      {{100, 79}, 0}, {{100, 78}, -1}, {{107, 93}, 0},  {{203, 88}, 1},  // overlap of bands 2 and 3
      {{210, 90}, 2}, {{400, 120}, 3}, {{600, 205}, 5}, {{300, 100}, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(grabbedBand(markers, c.press.x, c.press.y), c.band) << c.press.x << "," << c.press.y;
}

TEST(BandMarkers, DragFollowsEachCoordinateWithinItsLimits) {
  const Point start{300, 100};
  struct Case {
    Point mouse, marker;
  };
  const Case cases[] = {
      {{400, 50}, {400, 50}},  {{97, 32}, {97, 32}},    {{689, 198}, {689, 198}}, {{690, 50}, {300, 50}},
      {{96, 199}, {300, 100}}, {{500, 31}, {500, 100}}, {{500, 250}, {500, 100}}, {{-20, 150}, {300, 150}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(dragMarker(start, c.mouse.x, c.mouse.y), c.marker) << c.mouse.x << "," << c.mouse.y;
}

TEST(BandMarkers, DraggedValuesAreTableIndexes) {
  const GraphGeometry g(720, 249);
  struct Case {
    Point marker;
    int freq, gain;
  };
  const Case cases[] = {
      {{97, 32}, 0, 180},
      {{689, 198}, 243, 0},
      {{430, 86}, 136, 121},
      {{236, 85}, 56, 122},
      // the row where +6.0 dB is drawn reads back as +6.4 dB
      {{101, 58}, 0, 152},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.marker.x << "," << c.marker.y);
    DraggedValues v = draggedValues(g, c.marker);
    EXPECT_EQ(v.freqIndex, c.freq);
    EXPECT_EQ(v.gainIndex, c.gain);
  }
}

// Dropping a band on the 0 dB grid line stores +0.2 dB, and the redraw then puts the
// square on the row of +0.2 dB, one above the line.
TEST(BandMarkers, ADragToTheZeroLineSnapsToTheRowOfPlusPointTwo) {
  ResponseGraph graph;
  graph.bandRedraw(0, 2, 0, 57, 150, 4);
  Point m = dragMarker(graph.marker(2), 300, 86);
  DraggedValues v = draggedValues(graph.geometry(), m);
  EXPECT_EQ(v.gainIndex, 121);
  graph.bandRedraw(0, 2, 0, v.freqIndex, v.gainIndex, 4);
  EXPECT_EQ(v.freqIndex, 83);  // 216 Hz is the entry nearest to column 300 (213.1 Hz)
  EXPECT_EQ(graph.marker(2), (Point{graph.geometry().frequencyToColumn(216), 85}));
}

TEST(BandMarkers, ADragSetsTheFrequencyAndOnlyTheGainInForce) {
  EqBand shelf{50, 1, 140, 100, 9};
  applyDrag(shelf, DraggedValues{70, 121});
  EXPECT_EQ(shelf.freq, 70);
  EXPECT_EQ(shelf.shelfGain, 121);
  EXPECT_EQ(shelf.peqGain, 140);  // back to PEQ later, the band shows the gain it had
  EXPECT_EQ(shelf.q, 9);

  EqBand peaking{50, 0, 140, 100, 9};
  applyDrag(peaking, DraggedValues{243, 0});
  EXPECT_EQ(peaking.freq, 243);
  EXPECT_EQ(peaking.peqGain, 0);
  EXPECT_EQ(peaking.shelfGain, 100);
}

}  // namespace
}  // namespace audiodsp
