#pragma once
// The response graph of the output being edited: the background picture, the stored
// response of every EQ band and crossover filter, the band markers, and the drawing of
// the total curve onto the graph image (Image5).
//
// Each response is kept in its own array so that a change recomputes only its own curve;
// the total is the sum of the output's six bands and two filters at every column, drawn
// in red. All responses start at 0 dB, so a fresh graph shows a flat line.
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "graph/graph_geometry.h"
#include "model/param_model.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/text_renderer.h"

namespace audiodsp {

class ResponseGraph {
 public:
  static constexpr int kWidth = 720;
  static constexpr int kHeight = 249;
  // Column x is stored at position x - 41; 793 positions serve graphs up to 840 wide.
  static constexpr int kResponseLength = 793;
  static constexpr int kMaxWidth = 840;
  using Response = std::array<double, kResponseLength>;

  // Builds the background once. Text goes through `text` (the built-in font when null),
  // which must outlive the graph. The width is limited to 100 .. 840, the height to 60
  // and more.
  explicit ResponseGraph(const TextRenderer* text = nullptr, int width = kWidth, int height = kHeight);
  // A copy would keep drawing on the original's image.
  ResponseGraph(const ResponseGraph&) = delete;
  ResponseGraph& operator=(const ResponseGraph&) = delete;

  const GraphGeometry& geometry() const { return geometry_; }
  const Bitmap& gridBitmap() const { return grid_; }
  // The picture the graph draws on, to be shown by the graph image control.
  const std::shared_ptr<Bitmap>& image() const { return image_; }

  // Copies the background over the whole image; every redraw starts with it.
  void paintBackground();

  // The entry point for EQ changes: puts the slot's marker at the table position of its
  // frequency and gain in force, paints the background, recomputes the slot's response
  // from the marker position, draws the total of `output` and its markers. Indexes out of
  // their tables are brought into range; an output or slot that does not exist draws
  // nothing.
  void bandRedraw(int output, int slot, int type, int freqIndex, int gainIndex, int qIndex);
  void bandRedraw(int output, int slot, const EqBand& band) {
    bandRedraw(output, slot, band.type, band.freq, band.gainInForce(), band.q);
  }
  // Recompute the output's high-pass or low-pass response and draw the total; they paint
  // no background and no markers (their callers do).
  void drawHighPass(int output, int freqIndex, int slope);
  void drawLowPass(int output, int freqIndex, int slope);
  // Recomputes every band and filter of every output from the model, outputs in the
  // order High, Mid, Low, Main, each band through bandRedraw; the image is left showing
  // Main. Used when a whole group has been loaded.
  void recomputeAll(const ParamModel& model);
  // Draws the total of the output from the stored responses, computing nothing.
  void drawTotal(int output);
  void drawMarkers(int output);

  // Stored responses in the graph's dB unit; slot 0..23, output 0..3.
  const Response& bandResponse(int slot) const { return band_[slot]; }
  const Response& highPassResponse(int output) const { return highPass_[output]; }
  const Response& lowPassResponse(int output) const { return lowPass_[output]; }
  // The total of the output at column x (first .. last column).
  double totalAt(int output, int x) const;

  Point marker(int slot) const { return markers_[slot]; }
  void setMarker(int slot, Point p);
  // The six markers of an output.
  std::span<const Point, 6> markers(int output) const;

 private:
  // cos and sin of every column's angular frequency, for the crossover filters and shelves
  // and, slightly differently rounded, for the peaking band.
  struct ColumnAngles {
    double cos, sin, cosPeak, sinPeak;
  };

  template <typename Eval>
  void compute(Response& out, Eval&& eval) const;

  GraphGeometry geometry_;
  Bitmap grid_;
  std::shared_ptr<Bitmap> image_;
  Canvas canvas_;
  std::vector<ColumnAngles> angles_;  // index x - firstColumn
  std::array<Response, kBandSlotCount> band_{};
  std::array<Response, kOutputCount> highPass_{};
  std::array<Response, kOutputCount> lowPass_{};
  std::array<Point, kBandSlotCount> markers_;
};

}  // namespace audiodsp
