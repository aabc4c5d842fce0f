#pragma once
// The graph's background picture: dark fill, plot frame, grid lines and the dB and Hz
// labels. Built once; every redraw starts by copying it.
#include "graph/graph_geometry.h"
#include "platform/bitmap.h"
#include "platform/text_renderer.h"

namespace audiodsp {

namespace graph_colors {
inline constexpr Color kFill{20, 20, 20};
inline constexpr Color kFrame{128, 128, 128};
inline constexpr Color kGrid{64, 64, 64};
inline constexpr Color kLabelBack{4, 2, 4};
}  // namespace graph_colors

// Draws the background for the geometry's size; text goes through `text` (the built-in
// font when null).
Bitmap buildGridBitmap(const GraphGeometry& geometry, const TextRenderer* text = nullptr);

}  // namespace audiodsp
