#pragma once
// The EQ band markers on the response graph: a coloured square with the band number per
// band, and the geometry of grabbing and dragging one. Pure functions of the marker
// positions; the editor keeps the drag state and applies the results.
#include <array>
#include <span>

#include "graph/graph_geometry.h"
#include "model/param_model.h"
#include "platform/canvas.h"

namespace audiodsp {

// Colours of bands 1..6, also used for the band number labels of the EQ table.
inline constexpr std::array<Color, 6> kBandColors = {Color{255, 252, 0}, Color{255, 0, 0},
                                                     Color{0, 252, 255}, Color{0, 252, 0},
                                                     Color{255, 0, 255}, Color{0, 0, 255}};

// Where window creation puts the markers of every output, before any band is drawn.
inline constexpr std::array<Point, 6> kStartMarkers = {Point{101, 86}, Point{177, 86}, Point{236, 86},
                                                       Point{294, 86}, Point{371, 86}, Point{429, 86}};

// Drag limits: about 19.1 Hz .. 21736 Hz and +12 .. -24 dB.
inline constexpr int kDragMinX = 97;
inline constexpr int kDragMaxX = 689;
inline constexpr int kDragMinY = 32;
inline constexpr int kDragMaxY = 198;

// Draws the six markers of one output: all squares first (8 x 8 around the point), then
// the numbers in white on a clear background, below the square in the lower half of the
// graph and above it in the upper half, so a square never covers a number.
void drawBandMarkers(Canvas& canvas, std::span<const Point, 6> markers);

// The band 0..5 whose marker a press at (x, y) hits: closer than 8 pixels on both axes,
// the lowest band winning where squares overlap. -1 when none is hit.
int grabbedBand(std::span<const Point, 6> markers, int x, int y);

// The dragged marker's next position: each coordinate follows the mouse while the mouse
// is within that coordinate's limits and stays where it was otherwise.
Point dragMarker(Point marker, int x, int y);

struct DraggedValues {
  int freqIndex;  // FreqTable index, at most 243
  int gainIndex;  // GainTable index, at most 180; the gain in force of the band
};

// The table indexes a marker position stands for while dragging.
DraggedValues draggedValues(const GraphGeometry& geometry, Point marker);

// Stores dragged values in a band: its frequency and its gain in force (the PEQ gain of a
// peaking band, the shelf gain of a shelf); the other gain and Q are left as they are.
inline void applyDrag(EqBand& band, const DraggedValues& values) {
  band.freq = values.freqIndex;
  band.gainInForce() = values.gainIndex;
}

}  // namespace audiodsp
