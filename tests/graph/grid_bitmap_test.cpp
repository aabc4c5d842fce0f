#include "graph/grid_bitmap.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/canvas.h"

namespace audiodsp {
namespace {

class GridBitmapTest : public testing::Test {
 protected:
  GraphGeometry geometry{720, 249};
  Bitmap grid = buildGridBitmap(geometry);
};

TEST_F(GridBitmapTest, FillsAndFramesThePlot) {
  ASSERT_EQ(grid.width(), 720);
  ASSERT_EQ(grid.height(), 249);
  for (Point p : {Point{0, 0}, Point{719, 248}, Point{40, 100}, Point{300, 30}, Point{716, 100}})
    EXPECT_EQ(grid.pixel(p.x, p.y), graph_colors::kFill) << p.x << "," << p.y;
  for (Point p : {Point{41, 17}, Point{714, 17}, Point{714, 225}, Point{41, 225}, Point{400, 17},
                  Point{714, 120}, Point{41, 120}, Point{300, 225}})
    EXPECT_EQ(grid.pixel(p.x, p.y), graph_colors::kFrame) << p.x << "," << p.y;
}

TEST_F(GridBitmapTest, HorizontalLinesLieAtTheirRows) {
  std::set<int> rows;
  for (int y = 18; y < 225; ++y)
    if (grid.pixel(300, y) == graph_colors::kGrid) rows.insert(y);
  EXPECT_EQ(rows, (std::set<int>{40, 63, 86, 109, 133, 156, 179, 202}));
  EXPECT_EQ(grid.pixel(42, 86), graph_colors::kGrid);
  EXPECT_EQ(grid.pixel(713, 86), graph_colors::kGrid);
}

TEST_F(GridBitmapTest, VerticalLinesLieAtTheirColumnsBetweenTheFrameEdges) {
  const std::set<int> expected = {101, 135, 159, 177, 193, 206, 217, 227, 236, 294, 328, 352, 371, 386,
                                  399, 410, 420, 429, 487, 521, 545, 564, 579, 592, 604, 613, 622, 681};
  std::set<int> columns;
  for (int x = 42; x < 714; ++x)
    if (grid.pixel(x, 30) == graph_colors::kGrid) columns.insert(x);
  EXPECT_EQ(columns, expected);
  for (int x : expected) {
    SCOPED_TRACE(x);
    EXPECT_EQ(grid.pixel(x, 18), graph_colors::kGrid);
    EXPECT_EQ(grid.pixel(x, 224), graph_colors::kGrid);
    EXPECT_EQ(grid.pixel(x, 225), graph_colors::kFrame);
  }
}

TEST_F(GridBitmapTest, LabelsAreWhiteOnTheirOwnBackgroundAtFixedPositions) {
  struct Label {
    std::string text;
    int x, y;
  };
  const Label labels[] = {{"+15dB", 4, 10},  {"0dB", 12, 79},    {"-30dB", 6, 218},
                          {"20Hz", 90, 226}, {"1KHz", 417, 226}, {"20KHz", 666, 226}};
  Bitmap scratch(1, 1);
  Canvas measure(scratch);
  for (const auto& label : labels) {
    SCOPED_TRACE(label.text);
    Size cell = measure.textExtent(label.text);
    int white = 0;
    for (int y = label.y; y < label.y + cell.height; ++y)
      for (int x = label.x; x < label.x + cell.width; ++x) {
        Color c = grid.pixel(x, y);
        ASSERT_TRUE(c == colors::kWhite || c == graph_colors::kLabelBack) << x << "," << y;
        white += c == colors::kWhite;
      }
    EXPECT_GT(white, 10);
    // Just outside the cell the background is back.
    EXPECT_NE(grid.pixel(label.x - 1, label.y + 5), graph_colors::kLabelBack);
    EXPECT_NE(grid.pixel(label.x + cell.width, label.y + 5), graph_colors::kLabelBack);
  }
}

}  // namespace
}  // namespace audiodsp
