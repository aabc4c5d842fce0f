#include "platform/text_renderer.h"

#include <algorithm>
#include <array>

namespace audiodsp {

namespace {

// Each glyph is a list of rows separated by blanks, '#' for ink. The first seven rows
// stand on the baseline, two more hang below it; a glyph may give fewer rows. Every row of
// a glyph has the glyph's width.
struct Glyph {
  char32_t code;
  std::string_view rows;
};

constexpr std::array kGlyphs{
    Glyph{U' ', "... ... ... ... ... ... ..."},
    Glyph{U'+', "..... ..#.. ..#.. ##### ..#.. ..#.. ....."},
    Glyph{U'-', ".... .... .... #### .... .... ...."},
    Glyph{U'.', ". . . . . . #"},
    Glyph{U':', ". . # . . . #"},
    Glyph{U'%', "##..# ##..# ...#. ..#.. .#... #..## #..##"},
    Glyph{U'\u00B0', ".##. #..# #..# .##."},
    Glyph{U'0', ".###. #...# #..## #.#.# ##..# #...# .###."},
    Glyph{U'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    Glyph{U'2', ".###. #...# ....# ...#. ..#.. .#... #####"},
    Glyph{U'3', "####. ....# ....# .###. ....# ....# ####."},
    Glyph{U'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."},
    Glyph{U'5', "##### #.... ####. ....# ....# #...# .###."},
    Glyph{U'6', "..##. .#... #.... ####. #...# #...# .###."},
    Glyph{U'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    Glyph{U'8', ".###. #...# #...# .###. #...# #...# .###."},
    Glyph{U'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    Glyph{U'A', ".###. #...# #...# ##### #...# #...# #...#"},
    Glyph{U'B', "####. #...# #...# ####. #...# #...# ####."},
    Glyph{U'C', ".###. #...# #.... #.... #.... #...# .###."},
    Glyph{U'D', "###.. #..#. #...# #...# #...# #..#. ###.."},
    Glyph{U'E', "##### #.... #.... ####. #.... #.... #####"},
    Glyph{U'F', "##### #.... #.... ####. #.... #.... #...."},
    Glyph{U'G', ".###. #...# #.... #.### #...# #...# .####"},
    Glyph{U'H', "#...# #...# #...# ##### #...# #...# #...#"},
    Glyph{U'I', "### .#. .#. .#. .#. .#. ###"},
    Glyph{U'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."},
    Glyph{U'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    Glyph{U'L', "#.... #.... #.... #.... #.... #.... #####"},
    Glyph{U'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    Glyph{U'N', "#...# #...# ##..# #.#.# #..## #...# #...#"},
    Glyph{U'O', ".###. #...# #...# #...# #...# #...# .###."},
    Glyph{U'P', "####. #...# #...# ####. #.... #.... #...."},
    Glyph{U'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    Glyph{U'R', "####. #...# #...# ####. #.#.. #..#. #...#"},
    Glyph{U'S', ".#### #.... #.... .###. ....# ....# ####."},
    Glyph{U'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    Glyph{U'U', "#...# #...# #...# #...# #...# #...# .###."},
    Glyph{U'V', "#...# #...# #...# #...# #...# .#.#. ..#.."},
    Glyph{U'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    Glyph{U'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"},
    Glyph{U'Y', "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.."},
    Glyph{U'Z', "##### ....# ...#. ..#.. .#... #.... #####"},
    Glyph{U'a', "..... ..... .###. ....# .#### #...# .####"},
    Glyph{U'b', "#.... #.... ####. #...# #...# #...# ####."},
    Glyph{U'c', ".... .... .### #... #... #... .###"},
    Glyph{U'd', "....# ....# .#### #...# #...# #...# .####"},
    Glyph{U'e', "..... ..... .###. #...# ##### #.... .###."},
    Glyph{U'f', "..## .#.. #### .#.. .#.. .#.. .#.."},
    Glyph{U'g', "..... ..... .#### #...# #...# #...# .#### ....# .###."},
    Glyph{U'h', "#.... #.... ####. #...# #...# #...# #...#"},
    Glyph{U'i', "# . # # # # #"},
    Glyph{U'j', "..# ... ..# ..# ..# ..# ..# ..# ##."},
    Glyph{U'k', "#... #... #..# #.#. ##.. #.#. #..#"},
    Glyph{U'l', "# # # # # # #"},
    Glyph{U'm', "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#"},
    Glyph{U'n', "..... ..... ####. #...# #...# #...# #...#"},
    Glyph{U'o', "..... ..... .###. #...# #...# #...# .###."},
    Glyph{U'p', "..... ..... ####. #...# #...# #...# ####. #.... #...."},
    Glyph{U'q', "..... ..... .#### #...# #...# #...# .#### ....# ....#"},
    Glyph{U'r', ".... .... #.## ##.. #... #... #..."},
    Glyph{U's', "..... ..... .#### #.... .###. ....# ####."},
    Glyph{U't', ".#.. .#.. #### .#.. .#.. .#.. ..##"},
    Glyph{U'u', "..... ..... #...# #...# #...# #...# .####"},
    Glyph{U'v', "..... ..... #...# #...# #...# .#.#. ..#.."},
    Glyph{U'w', "..... ..... #...# #...# #.#.# #.#.# .#.#."},
    Glyph{U'x', "..... ..... #...# .#.#. ..#.. .#.#. #...#"},
    Glyph{U'y', "..... ..... #...# #...# #...# #...# .#### ....# .###."},
    Glyph{U'z', "..... ..... ##### ...#. ..#.. .#... #####"},
};

// Drawn for every character the font does not have.
constexpr Glyph kMissing{0, "##### #...# #...# #...# #...# #...# #####"};

constexpr int kCellHeight = 13;  // at scale 1
constexpr int kGlyphTop = 3;     // first glyph row inside the cell

const Glyph& glyphFor(char32_t code) {
  for (const Glyph& g : kGlyphs)
    if (g.code == code) return g;
  return kMissing;
}

int glyphWidth(const Glyph& g) {
  size_t blank = g.rows.find(' ');
  return static_cast<int>(blank == std::string_view::npos ? g.rows.size() : blank);
}

// Whole-pixel magnification: 1 up to about 13 points, 2 up to about 21, and so on.
int scaleOf(const Font& font) {
  int em = (std::max(font.size, 1) * 96 + 36) / 72;
  return std::max(1, (em + 5) / 11);
}

// Decodes one UTF-8 character at text[pos] and advances pos; malformed input yields
// U+FFFD for each bad byte so that it is drawn as a box rather than dropped.
char32_t nextCode(std::string_view text, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
  if (extra < 0 || pos + extra >= text.size()) {
    ++pos;
    return U'\uFFFD';
  }
  char32_t code = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    unsigned char c = byte(pos + i);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return U'\uFFFD';
    }
    code = (code << 6) | (c & 0x3F);
  }
  pos += extra + 1;
  return code;
}

template <typename Fn>
void forEachGlyph(std::string_view text, Fn&& fn) {
  size_t pos = 0;
  while (pos < text.size()) fn(glyphFor(nextCode(text, pos)));
}

}  // namespace

Size BuiltinTextRenderer::extent(const Font& font, std::string_view text) const {
  int scale = scaleOf(font);
  int advance = 0;
  forEachGlyph(text, [&](const Glyph& g) { advance += (glyphWidth(g) + 1) * scale; });
  return Size{advance, kCellHeight * scale};
}

void BuiltinTextRenderer::drawInk(Bitmap& target, int x, int y, const Font& font,
                                  std::string_view text) const {
  int scale = scaleOf(font);
  int penX = x;
  forEachGlyph(text, [&](const Glyph& g) {
    int width = glyphWidth(g);
    int rowTop = y + kGlyphTop * scale;
    for (size_t start = 0; start < g.rows.size(); start += width + 1, rowTop += scale) {
      std::string_view row = g.rows.substr(start, width);
      for (int col = 0; col < static_cast<int>(row.size()); ++col) {
        if (row[col] != '#') continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx)
            target.setPixel(penX + col * scale + dx, rowTop + dy, font.color);
      }
    }
    penX += (width + 1) * scale;
  });
}

const TextRenderer& builtinTextRenderer() {
  static const BuiltinTextRenderer renderer;
  return renderer;
}

}  // namespace audiodsp
