#include "ui/crossover_editor.h"

#include <string>
#include <vector>

#include "model/display_format.h"
#include "model/value_tables.h"
#include "platform/controls.h"
#include "ui/main_form.h"
#include "ui/numeric_field.h"

namespace audiodsp {

namespace {

constexpr Color kRecoupOnColor = colorFromValue(255);        // red
constexpr Color kRecoupOffColor = colorFromValue(14737632);  // light grey

struct RowControls {
  const char* caption;
  const char* field;
  const char* fieldText;
  const char* spin;
  const char* slope;
  const char* label;
};

constexpr RowControls kRows[2] = {
    {"HPF", "RzEdit205", "19.7", "RzSpinButtons181", "RzComboBox69", "HpfLabel"},
    {"LPF", "RzEdit206", "21900", "RzSpinButtons182", "RzComboBox71", "LpfLabel"},
};

}  // namespace

CrossoverEditor::CrossoverEditor(MainForm& form) : form_(form) {
  Form& f = form.form;
  const std::vector<std::string> slopes(SlopeList.begin(), SlopeList.end());
  for (int r = 0; r < 2; ++r) {
    const RowControls& names = kRows[r];
    const Filter filter = static_cast<Filter>(r);
    const int top = 30 + 36 * r;
    Label& caption = f.add<Label>(names.label, form.c.RzGroupBox35);
    caption.setBounds(8, top + 4, 32, 16);
    caption.setCaption(names.caption);
    Row& row = rows_[static_cast<size_t>(r)];
    row.field = &f.add<Edit>(names.field, form.c.RzGroupBox35);
    row.field->setBounds(44, top, 60, 21);
    row.field->setText(names.fieldText);
    row.spin = &f.add<SpinButtons>(names.spin, form.c.RzGroupBox35);
    row.spin->setBounds(104, top, 18, 21);
    row.slope = &f.add<ComboBox>(names.slope, form.c.RzGroupBox35);
    row.slope->setBounds(130, top, 140, 21);
    row.slope->setItems(slopes);
    row.slope->setItemIndex(0);

    hookCommitField(*row.field, form.fieldSnapshot, KeySet::Unsigned,
                    [this, filter] { return commit(filter); });
    row.spin->onDownClick = [this, filter] { step(filter, -1); };
    row.spin->onUpClick = [this, filter] { step(filter, +1); };
    row.slope->onChange = [this, filter] { slopeChanged(filter); };
  }
  form.c.RzButton98->onClick = [this] { toggleRecoup(); };
  form.panelLoaders.crossover = [this](int output) { loadPanel(output); };
}

int CrossoverEditor::output() const {
  const int o = form_.currentOutput;
  return o >= 0 && o < kOutputCount ? o : -1;
}

int& CrossoverEditor::freqIndex(int output, Filter filter) {
  Crossover& x = form_.model.crossover[static_cast<size_t>(output)];
  return filter == kHighPass ? x.hpfFreq : x.lpfFreq;
}

int& CrossoverEditor::slope(int output, Filter filter) {
  Crossover& x = form_.model.crossover[static_cast<size_t>(output)];
  return filter == kHighPass ? x.hpfSlope : x.lpfSlope;
}

void CrossoverEditor::showFrequency(int output, Filter filter) {
  rows_[filter].field->setText(formatGeneral(tableEntry(FreqTable, freqIndex(output, filter))));
}

void CrossoverEditor::loadPanel(int output) {
  if (output < 0 || output >= kOutputCount) return;
  for (Filter filter : {kHighPass, kLowPass}) {
    showFrequency(output, filter);
    rows_[filter].slope->setItemIndex(listItem(slope(output, filter), SlopeList.size()));
  }
}

bool CrossoverEditor::commit(Filter filter) {
  const int o = output();
  if (o < 0) return false;
  const auto typed = readChangedText(*rows_[filter].field, form_.fieldSnapshot);
  if (!typed) return false;
  const double value = std::clamp(*typed, FreqTable.front(), FreqTable.back());
  freqIndex(o, filter) = NearestIndex(FreqTable, value);
  showFrequency(o, filter);
  refresh(o, filter);
  return true;
}

void CrossoverEditor::step(Filter filter, int delta) {
  const int o = output();
  if (o < 0) return;
  int& index = freqIndex(o, filter);
  if (delta < 0 ? index <= 0 : index >= kFreqMaxIndex) return;
  index += delta;
  showFrequency(o, filter);
  refresh(o, filter);
}

void CrossoverEditor::slopeChanged(Filter filter) {
  const int o = output();
  const int item = rows_[filter].slope->itemIndex();
  if (o < 0 || item < 0) return;
  slope(o, filter) = item;
  refresh(o, filter);
}

void CrossoverEditor::refresh(int output, Filter filter) {
  ResponseGraph& graph = form_.graph;
  graph.paintBackground();
  if (filter == kHighPass) {
    graph.drawHighPass(output, freqIndex(output, filter), slope(output, filter));
  } else {
    graph.drawLowPass(output, freqIndex(output, filter), slope(output, filter));
  }
  graph.drawMarkers(output);
  form_.c.Image5->repaint();
  form_.frames.buildCrossover(output);
}

void CrossoverEditor::toggleRecoup() {
  int& recoup = form_.model.recoup;
  recoup = recoup == 1 ? 0 : 1;
  form_.c.RzButton98->setColor(recoup == 1 ? kRecoupOnColor : kRecoupOffColor);
  form_.frames.buildMain();
}

}  // namespace audiodsp
