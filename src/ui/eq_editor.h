#pragma once
// The EQ table of the EQ/HPF/LPF panel: six rows, one per band of the output being edited, each with a
// frequency, a Q and a gain field (every field with its spin pair) and a type list, and the "0 dB"
// button that flattens the output. Every row is bound to one fixed band of `CurrentOutput`.
//
// An edit takes the window's one road: clamp, snap to the table, store the index, write the table value
// back, redraw the band on the graph, build the band's frame (nothing is built while the port is closed).
// The band markers on the graph are dragged by the BandDrag this editor owns.
#include <array>
#include <memory>
#include <span>

#include "platform/controls.h"
#include "ui/main_form.h"

namespace audiodsp {

class BandDrag;

class EqEditor : public FormPart {
 public:
  // Creates the EQ table inside RzGroupBox36, hooks its controls and Image5, and plugs the row fill
  // into the panel selection.
  explicit EqEditor(MainForm& form);
  ~EqEditor() override;
  EqEditor(const EqEditor&) = delete;
  EqEditor& operator=(const EqEditor&) = delete;

  // Row fill: the six rows show the output's bands; nothing is stored, drawn or sent.
  void fillRows(int output);
  // The band redraw of a slot from its stored values: marker, response, total and markers of the
  // slot's output.
  void redrawBand(int slot);
  // A band's frequency and gain fields show its stored values (the Q field is left alone).
  void showFrequencyAndGain(int row, int slot);

  BandDrag& drag() { return *drag_; }

 private:
  enum class Kind { Frequency, Q, Gain };
  struct Row {
    Edit* freq;
    Edit* q;
    Edit* gain;
    ComboBox* type;
    SpinButtons* freqSpin;
    SpinButtons* qSpin;
    SpinButtons* gainSpin;
  };

  static std::span<const double> tableOf(Kind kind);
  void buildTable();
  void hookRow(int row);
  bool panelOpen() const;
  Edit& field(int row, Kind kind) const;
  bool commit(int row, Kind kind);
  void changeType(int row);
  void step(int row, Kind kind, int delta);
  void flatten();

  MainForm& f_;
  std::array<Row, 6> rows_{};
  Button* flat_ = nullptr;  // RzButton97, "0 dB"
  std::unique_ptr<BandDrag> drag_;
};

}  // namespace audiodsp
