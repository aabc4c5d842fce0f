#include "graph/grid_bitmap.h"

#include <cmath>
#include <string_view>

#include "platform/canvas.h"

namespace audiodsp {

namespace {

struct Label {
  std::string_view text;
  int x;
  int y;
};

// Fixed pixels, placed by eye against the 720 x 249 graph; they do not follow the size.
constexpr Label kLabels[] = {
    {"+15dB", 4, 10},   {"+10dB", 4, 33},   {"+5dB", 8, 56},     {"0dB", 12, 79},     {"-5dB", 9, 102},
    {"-10dB", 6, 126},  {"-15dB", 6, 149},  {"-20dB", 6, 172},   {"-25dB", 6, 195},   {"-30dB", 6, 218},
    {"20Hz", 90, 226},  {"50Hz", 166, 226}, {"100Hz", 222, 226}, {"200Hz", 280, 226}, {"500Hz", 357, 226},
    {"1KHz", 417, 226}, {"2KHz", 475, 226}, {"5KHz", 552, 226},  {"10KHz", 607, 226}, {"20KHz", 666, 226},
};

}  // namespace

Bitmap buildGridBitmap(const GraphGeometry& geometry, const TextRenderer* text) {
  const int w = geometry.width();
  const int h = geometry.height();
  Bitmap grid(w, h);
  Canvas canvas(grid, text);

  canvas.pen().color = graph_colors::kFill;
  for (int y = 0; y <= h; ++y) {
    canvas.moveTo(0, y);
    canvas.lineTo(w, y);
  }

  canvas.pen().color = graph_colors::kFrame;
  const Point frame[] = {{41, 17}, {w - 6, 17}, {w - 6, h - 24}, {41, h - 24}, {41, 17}};
  canvas.polyline(frame);

  canvas.pen().color = graph_colors::kGrid;
  for (int j = 1; j <= 8; ++j) {
    int y = static_cast<int>(std::trunc((h - 40) / 9.0 * j)) + 17;
    canvas.moveTo(42, y);
    canvas.lineTo(w - 6, y);
  }
  auto verticalLine = [&](int x) {
    canvas.moveTo(x, 18);
    canvas.lineTo(x, h - 24);
  };
  // 20, 30 .. 100, 200 .. 1000, 2000 .. 10000 Hz
  for (int decade = 10; decade <= 1000; decade *= 10)
    for (int step = 2; step <= 10; ++step) verticalLine(geometry.gridLineColumn(decade * step));
  verticalLine(geometry.leftInset() + 41);
  verticalLine(w - geometry.rightInset() - 6);

  canvas.font() = Font{"Arial", 8, colors::kWhite};
  canvas.brush() = Brush{graph_colors::kLabelBack, BrushStyle::kSolid};
  for (const Label& label : kLabels) canvas.textOut(label.x, label.y, label.text);
  return grid;
}

}  // namespace audiodsp
