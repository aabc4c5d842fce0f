#include "graph/band_markers.h"

#include <algorithm>
#include <string>

#include "model/value_tables.h"

namespace audiodsp {

void drawBandMarkers(Canvas& canvas, std::span<const Point, 6> markers) {
  for (size_t k = 0; k < markers.size(); ++k) {
    Point m = markers[k];
    canvas.pen().color = kBandColors[k];
    canvas.brush() = Brush{kBandColors[k], BrushStyle::kSolid};
    canvas.fillRect(Rect{m.x - 4, m.y - 4, m.x + 4, m.y + 4});
  }
  canvas.brush().style = BrushStyle::kClear;
  canvas.font().color = colors::kWhite;
  for (size_t k = 0; k < markers.size(); ++k) {
    Point m = markers[k];
    canvas.textOut(m.x - 2, m.y >= 117 ? m.y + 4 : m.y - 18, std::to_string(k + 1));
  }
}

int grabbedBand(std::span<const Point, 6> markers, int x, int y) {
  for (size_t k = 0; k < markers.size(); ++k) {
    Point m = markers[k];
    if (m.x - 8 < x && x < m.x + 8 && m.y - 8 < y && y < m.y + 8) return static_cast<int>(k);
  }
  return -1;
}

Point dragMarker(Point marker, int x, int y) {
  if (x >= kDragMinX && x <= kDragMaxX) marker.x = x;
  if (y >= kDragMinY && y <= kDragMaxY) marker.y = y;
  return marker;
}

DraggedValues draggedValues(const GraphGeometry& geometry, Point marker) {
  return DraggedValues{std::min(geometry.columnToFreqIndex(marker.x), kFreqMaxIndex),
                       std::min(geometry.rowToGainIndex(marker.y), kGainMaxIndex)};
}

}  // namespace audiodsp
