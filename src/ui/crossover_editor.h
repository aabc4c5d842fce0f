#pragma once
// The crossover box RzGroupBox35 of the EQ/HPF/LPF panel: high-pass and low-pass frequency of the
// output being edited (fields RzEdit205 / RzEdit206 with their spin pairs) and their slopes (lists
// RzComboBox69 / RzComboBox71); and the "recoup" toggle RzButton98 of the channel panel.
//
// A stored filter change repaints the graph, redraws that filter's curve with the output's total,
// draws the output's band markers, then rebuilds the output's crossover block.
#include <array>

#include "ui/main_form.h"

namespace audiodsp {

class CrossoverEditor : public FormPart {
 public:
  enum Filter { kHighPass = 0, kLowPass = 1 };

  explicit CrossoverEditor(MainForm& form);

  // Shows the output's two frequencies and slopes (the EQ/HPF/LPF selection); stores nothing.
  void loadPanel(int output);

 private:
  struct Row {
    Edit* field;
    SpinButtons* spin;
    ComboBox* slope;
  };

  int output() const;  // CurrentOutput when a panel is open, else -1
  int& freqIndex(int output, Filter filter);
  int& slope(int output, Filter filter);
  void showFrequency(int output, Filter filter);
  bool commit(Filter filter);
  void step(Filter filter, int delta);
  void slopeChanged(Filter filter);
  void refresh(int output, Filter filter);
  void toggleRecoup();

  MainForm& form_;
  std::array<Row, 2> rows_{};
};

}  // namespace audiodsp
