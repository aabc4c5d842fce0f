#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace audiodsp {
namespace {

constexpr Color kInk{200, 10, 30};
constexpr Color kPaper{1, 2, 3};

using PixelSet = std::set<std::pair<int, int>>;

PixelSet inked(const Bitmap& b, Color c = kInk) {
  PixelSet out;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if (b.pixel(x, y) == c) out.insert({x, y});
  return out;
}

struct LineCase {
  const char* name;
  Point from, to;
  PixelSet pixels;
};

TEST(CanvasLine, DrawsEveryPixelButTheEndPoint) {
  const LineCase cases[] = {
      {"right", {1, 2}, {5, 2}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {"left", {5, 2}, {1, 2}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
      {"up", {3, 6}, {3, 3}, {{3, 6}, {3, 5}, {3, 4}}},
      {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {"shallow", {0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {"steep back", {4, 6}, {2, 0}, {{4, 6}, {4, 5}, {3, 4}, {3, 3}, {3, 2}, {2, 1}}},
      {"zero length", {4, 4}, {4, 4}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(10, 10, kPaper);
    Canvas canvas(b);
    canvas.pen().color = kInk;
    canvas.moveTo(c.from.x, c.from.y);
    canvas.lineTo(c.to.x, c.to.y);
    EXPECT_EQ(inked(b), c.pixels);
    EXPECT_EQ(canvas.penPos(), c.to);
  }
}

// A segment clipped by the bitmap edge must light exactly the pixels that the same
// segment lights on a larger bitmap that holds all of it.
TEST(CanvasLine, ClippingKeepsThePixelsOfTheWholeSegment) {
  const std::pair<Point, Point> segments[] = {
      {{-30, -7}, {45, 19}}, {{44, -25}, {-3, 40}}, {{-2, 11}, {70, 12}},
      {{10, -40}, {13, 70}}, {{39, 39}, {-1, -1}},  {{-60, 50}, {25, -10}},
  };
  constexpr int kOffset = 70;
  for (const auto& [a, b] : segments) {
    SCOPED_TRACE(testing::Message() << a.x << "," << a.y << " -> " << b.x << "," << b.y);
    Bitmap small(20, 20, kPaper);
    Canvas cs(small);
    cs.pen().color = kInk;
    cs.moveTo(a.x, a.y);
    cs.lineTo(b.x, b.y);

    Bitmap big(160, 160, kPaper);
    Canvas cb(big);
    cb.pen().color = kInk;
    cb.moveTo(a.x + kOffset, a.y + kOffset);
    cb.lineTo(b.x + kOffset, b.y + kOffset);
    PixelSet expected;
    for (auto [x, y] : inked(big))
      if (x >= kOffset && x < kOffset + 20 && y >= kOffset && y < kOffset + 20)
        expected.insert({x - kOffset, y - kOffset});

    EXPECT_EQ(inked(small), expected);
    EXPECT_FALSE(expected.empty());
  }
}

TEST(CanvasLine, ASegmentFromFarOutsideLightsOnlyItsPixelsInside) {
  Bitmap b(20, 20, kPaper);
  Canvas canvas(b);
  canvas.pen().color = kInk;
  canvas.moveTo(-100000, 3);
  canvas.lineTo(100001, 17);
  PixelSet expected;
  for (int x = 0; x < 20; ++x) expected.insert({x, 10});
  EXPECT_EQ(inked(b), expected);

  canvas.moveTo(5, -2000000000);
  canvas.lineTo(5, 2000000000);
  EXPECT_EQ(inked(b).size(), 20u + 19u);
}

TEST(CanvasLine, PolylineJoinsPointsAndLeavesOutOnlyTheLastOne) {
  Bitmap b(8, 8, kPaper);
  Canvas canvas(b);
  canvas.pen().color = kInk;
  canvas.moveTo(7, 7);
  const Point frame[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}, {1, 2}};
  canvas.polyline(frame);
  PixelSet expected = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3},
                       {5, 4}, {4, 4}, {3, 4}, {2, 4}, {1, 4}, {1, 3}};
  EXPECT_EQ(inked(b), expected);
  EXPECT_EQ(canvas.penPos(), (Point{7, 7}));
}

TEST(CanvasLine, WidePenCoversASquareAroundEachPixel) {
  Bitmap b(10, 10, kPaper);
  Canvas canvas(b);
  canvas.pen() = Pen{kInk, 3};
  canvas.moveTo(2, 5);
  canvas.lineTo(5, 5);
  PixelSet expected;
  for (int x = 1; x <= 5; ++x)
    for (int y = 4; y <= 6; ++y) expected.insert({x, y});
  EXPECT_EQ(inked(b), expected);
}

TEST(CanvasFill, RectanglesLeaveOutRightAndBottomEdges) {
  Bitmap b(8, 8, kPaper);
  Canvas canvas(b);
  canvas.brush() = Brush{kInk, BrushStyle::kSolid};
  canvas.fillRect(Rect{-3, 6, 2, 20});
  EXPECT_EQ(inked(b), (PixelSet{{0, 6}, {1, 6}, {0, 7}, {1, 7}}));

  canvas.brush().style = BrushStyle::kClear;
  canvas.fillRect(Rect{3, 0, 8, 8});
  EXPECT_EQ(inked(b).size(), 4u);
}

TEST(CanvasFill, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  constexpr Color kFill{9, 9, 9};
  Bitmap b(8, 8, kPaper);
  Canvas canvas(b);
  canvas.pen().color = kInk;
  canvas.brush() = Brush{kFill, BrushStyle::kSolid};
  canvas.rectangle(Rect{1, 1, 5, 4});
  EXPECT_EQ(inked(b),
            (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}}));
  EXPECT_EQ(inked(b, kFill), (PixelSet{{2, 2}, {3, 2}}));

  Bitmap hollow(8, 8, kPaper);
  Canvas ch(hollow);
  ch.pen().color = kInk;
  ch.brush().style = BrushStyle::kClear;
  ch.rectangle(Rect{0, 0, 4, 4});
  EXPECT_EQ(hollow.pixel(1, 1), kPaper);
  EXPECT_EQ(inked(hollow).size(), 12u);
}

TEST(CanvasText, OpaqueTextFillsItsCellAndTransparentTextKeepsTheBackground) {
  constexpr Color kBack{4, 2, 4};
  for (BrushStyle style : {BrushStyle::kSolid, BrushStyle::kClear}) {
    SCOPED_TRACE(style == BrushStyle::kSolid ? "opaque" : "transparent");
    Bitmap b(60, 20, kPaper);
    Canvas canvas(b);
    canvas.font().color = colors::kWhite;
    canvas.brush() = Brush{kBack, style};
    canvas.textOut(4, 3, "+15dB");

    Size cell = canvas.textExtent("+15dB");
    EXPECT_EQ(cell, (Size{6 + 6 + 6 + 6 + 6, 13}));
    EXPECT_EQ(canvas.penPos(), (Point{4 + cell.width, 3}));
    int ink = 0, back = 0;
    for (int y = 0; y < b.height(); ++y)
      for (int x = 0; x < b.width(); ++x) {
        bool inCell = x >= 4 && x < 4 + cell.width && y >= 3 && y < 3 + cell.height;
        Color p = b.pixel(x, y);
        if (!inCell) {
          ASSERT_EQ(p, kPaper) << x << "," << y;
          continue;
        }
        ink += p == colors::kWhite;
        back += p == kBack;
      }
    EXPECT_GT(ink, 40);
    EXPECT_EQ(ink + back, style == BrushStyle::kSolid ? cell.width * cell.height : ink);
    // "1" of "+15dB": the glyph's foot row is three pixels wide.
    EXPECT_EQ(b.pixel(4 + 6 + 1, 3 + 3 + 6), colors::kWhite);
    EXPECT_EQ(b.pixel(4 + 6 + 3, 3 + 3 + 6), colors::kWhite);
    EXPECT_NE(b.pixel(4 + 6 + 0, 3 + 3 + 6), colors::kWhite);
  }
}

TEST(CanvasText, ExtentsFollowTheCharactersAndTheFontSize) {
  Bitmap b(1, 1);
  Canvas canvas(b);
  struct Case {
    std::string text;
    int size;
    Size extent;
  };
  const Case cases[] = {
      {"", 8, {0, 13}},
      {"1KHz", 8, {6 * 4, 13}},
      {"70 \u00B0C", 8, {6 + 6 + 4 + 5 + 6, 13}},  // the degree sign is one narrow glyph
      {"1.5:", 8, {6 + 2 + 6 + 2, 13}},
      {"\u4E2D", 8, {6, 13}},  // a character the font lacks is one box
      {"\xFF", 8, {6, 13}},    // so is a stray byte
      {"20Hz", 16, {2 * 6 * 4, 26}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    canvas.font().size = c.size;
    EXPECT_EQ(canvas.textExtent(c.text), c.extent);
  }
}

TEST(CanvasText, UsesTheInstalledRenderer) {
  struct Blocky final : TextRenderer {
    Size extent(const Font& font, std::string_view text) const override {
      return Size{static_cast<int>(text.size()) * font.size, 2};
    }
    void drawInk(Bitmap& target, int x, int y, const Font& font, std::string_view) const override {
      target.setPixel(x, y, font.color);
    }
  } blocky;
  Bitmap b(20, 5, kPaper);
  Canvas canvas(b, &blocky);
  canvas.font() = Font{"Liberation Sans", 3, kInk};
  canvas.brush().color = colors::kWhite;
  canvas.textOut(1, 1, "ab");
  EXPECT_EQ(canvas.textExtent("ab"), (Size{6, 2}));
  EXPECT_EQ(b.pixel(1, 1), kInk);
  EXPECT_EQ(b.pixel(6, 2), colors::kWhite);
  EXPECT_EQ(b.pixel(7, 2), kPaper);

  canvas.setTextRenderer(nullptr);
  EXPECT_EQ(canvas.textExtent("ab"), (Size{12, 13}));
}

Bitmap numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.setPixel(x, y, Color{uint8_t(x), uint8_t(y), 7});
  return b;
}

TEST(CanvasCopy, DrawPlacesTheWholeBitmapClipped) {
  Bitmap src = numbered(4, 3);
  Bitmap dst(5, 5, kPaper);
  Canvas canvas(dst);
  canvas.draw(-1, 3, src);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      bool covered = x <= 2 && y >= 3;
      EXPECT_EQ(dst.pixel(x, y), covered ? src.pixel(x + 1, y - 3) : kPaper);
    }
}

TEST(CanvasCopy, CopyRectTakesTheSourceRectangleAndScales) {
  Bitmap src = numbered(6, 6);
  Bitmap dst(8, 8, kPaper);
  Canvas canvas(dst);
  canvas.copyRect(Rect{0, 0, 2, 2}, src, Rect{3, 4, 5, 6});
  EXPECT_EQ(dst.pixel(0, 0), src.pixel(3, 4));
  EXPECT_EQ(dst.pixel(1, 1), src.pixel(4, 5));
  EXPECT_EQ(dst.pixel(2, 0), kPaper);

  canvas.copyRect(Rect{4, 4, 8, 8}, src, Rect{0, 0, 2, 2});  // twice the size
  EXPECT_EQ(dst.pixel(4, 4), src.pixel(0, 0));
  EXPECT_EQ(dst.pixel(5, 5), src.pixel(0, 0));
  EXPECT_EQ(dst.pixel(6, 7), src.pixel(1, 1));
}

TEST(CanvasCopy, CopyWithinOneBitmapReadsTheOriginalPixels) {
  Bitmap b = numbered(6, 1);
  const Bitmap before = b;
  Canvas canvas(b);
  canvas.copyRect(Rect{1, 0, 6, 1}, b, Rect{0, 0, 5, 1});
  for (int x = 1; x < 6; ++x) EXPECT_EQ(b.pixel(x, 0), before.pixel(x - 1, 0)) << x;
}

TEST(BitmapPixels, OutsideReadsBlackAndWritesNothing) {
  Bitmap b(3, 2, kPaper);
  b.setPixel(3, 0, kInk);
  b.setPixel(-1, 1, kInk);
  EXPECT_EQ(inked(b).size(), 0u);
  EXPECT_EQ(b.pixel(0, 2), colors::kBlack);
  b.setPixel(2, 1, kInk);
  EXPECT_EQ(b.bits()[(1 * 3 + 2) * 3], kInk.r);
  EXPECT_EQ(b.bytesPerLine(), 9);
  EXPECT_EQ(Bitmap(-4, 5).width(), 0);
}

}  // namespace
}  // namespace audiodsp
