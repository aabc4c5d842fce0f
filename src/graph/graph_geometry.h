#pragma once
// Pixel geometry of the response graph and the conversions between pixels, frequency and
// gain. Frequency runs logarithmically left to right with 20 Hz .. 20 kHz between the
// insets, gain runs from +15 dB at the top to -30 dB at the bottom. Every pixel coordinate
// is truncated toward zero, never rounded.
//
// The calibrations differ on purpose and must stay apart: the vertical grid lines use a
// decade one pixel narrower than the column conversions (the 1 kHz line is at 429, 1 kHz
// maps to 430), and the row to gain index conversion used for dragging has its own
// offsets (a marker dropped on the 0 dB line reads +0.2 dB).
namespace audiodsp {

class GraphGeometry {
 public:
  GraphGeometry(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int leftInset() const { return leftInset_; }
  int rightInset() const { return rightInset_; }

  // The curve is drawn over columns 42 .. width - 7.
  int firstColumn() const { return 42; }
  int lastColumn() const { return width_ - 7; }

  int frequencyToColumn(double hz) const;
  int gainToRow(double db) const;
  double columnToFrequency(int x) const;
  // The gain of row y, truncated toward zero to one decimal.
  double rowToGain(int y) const;
  // FreqTable index nearest to the column's frequency (the last index beyond 21900 Hz).
  int columnToFreqIndex(int x) const;
  // GainTable index nearest to the row's gain (the last index above +12 dB).
  int rowToGainIndex(int y) const;
  // Column of the vertical grid line of a frequency.
  int gridLineColumn(double hz) const;

 private:
  int width_;
  int height_;
  int leftInset_;
  int rightInset_;
};

}  // namespace audiodsp
