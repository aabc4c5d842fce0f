#include "ui/eq_editor.h"

#include <algorithm>
#include <string>

#include "graph/band_markers.h"
#include "model/display_format.h"
#include "model/value_tables.h"
#include "ui/band_drag.h"
#include "ui/main_form.h"
#include "ui/numeric_field.h"

namespace audiodsp {
namespace {

struct RowNames {
  const char* freq;
  const char* q;
  const char* gain;
  const char* type;
  const char* freqSpin;
  const char* qSpin;
  const char* gainSpin;
  const char* freqText;  // the form's texts until the first row fill
};

constexpr std::array<RowNames, 6> kRowNames = {{
    {"RzEdit94", "RzEdit99", "RzEdit106", "RzComboBox66", "RzSpinButtons82", "RzSpinButtons75",
     "RzSpinButtons70", "19.7"},
    {"RzEdit95", "RzEdit102", "RzEdit107", "RzComboBox67", "RzSpinButtons83", "RzSpinButtons78",
     "RzSpinButtons71", "50"},
    {"RzEdit96", "RzEdit103", "RzEdit108", "RzComboBox72", "RzSpinButtons84", "RzSpinButtons79",
     "RzSpinButtons72", "100"},
    {"RzEdit97", "RzEdit104", "RzEdit109", "RzComboBox73", "RzSpinButtons85", "RzSpinButtons80",
     "RzSpinButtons73", "198"},
    {"RzEdit98", "RzEdit105", "RzEdit110", "RzComboBox74", "RzSpinButtons86", "RzSpinButtons81",
     "RzSpinButtons74", "500"},
    {"RzEdit111", "RzEdit112", "RzEdit113", "RzComboBox75", "RzSpinButtons87", "RzSpinButtons88",
     "RzSpinButtons89", "1000"},
}};

// The EQ table grid inside RzGroupBox36.
constexpr std::array<int, 6> kRowTop = {20, 43, 66, 89, 112, 135};
constexpr int kFreqLeft = 76, kQLeft = 160, kGainLeft = 244, kTypeLeft = 328;
constexpr int kFreqSpinLeft = 136, kQSpinLeft = 218, kGainSpinLeft = 306;
constexpr int kBandLabelLeft = 36, kBandLabelOffset = 3;
constexpr int kRowHeight = 21, kSpinWidth = 17;

}  // namespace

std::span<const double> EqEditor::tableOf(Kind kind) {
  switch (kind) {
    case Kind::Frequency:
      return FreqTable;
    case Kind::Q:
      return QTable;
    case Kind::Gain:
      break;
  }
  return GainTable;
}

EqEditor::EqEditor(MainForm& form) : f_(form) {
  buildTable();
  for (int row = 0; row < kBandsPerOutput; ++row) hookRow(row);
  flat_->onClick = [this] { flatten(); };
  f_.panelLoaders.eqRows = [this](int output) { fillRows(output); };
  drag_ = std::make_unique<BandDrag>(f_, *this);
}

EqEditor::~EqEditor() = default;

void EqEditor::buildTable() {
  Form& form = f_.form;
  GroupBox* box = f_.c.RzGroupBox36;
  const auto header = [&](const char* name, int left, int width, const char* caption) {
    Label& l = form.add<Label>(name, box);
    l.setBounds(left, 3, width, 15);
    l.setCaption(caption);
  };
  header("EqHeaderFreq", kFreqLeft, 60, "Freq(Hz)");
  header("EqHeaderQ", kQLeft, 58, "Q");
  header("EqHeaderGain", kGainLeft, 62, "Gain(dB)");
  header("EqHeaderType", kTypeLeft, 30, "Type");
  flat_ = &form.add<Button>("RzButton97", box);
  flat_->setBounds(362, 0, 60, 18);
  flat_->setCaption("0 dB");

  for (int row = 0; row < kBandsPerOutput; ++row) {
    const RowNames& n = kRowNames[static_cast<size_t>(row)];
    const int top = kRowTop[static_cast<size_t>(row)];
    Label& number = form.add<Label>("EqBand" + std::to_string(row + 1), box);
    number.setBounds(kBandLabelLeft, top + kBandLabelOffset, 24, 15);
    number.setCaption(" " + std::to_string(row + 1) + " ");
    number.setColor(kBandColors[static_cast<size_t>(row)]);

    Row& r = rows_[static_cast<size_t>(row)];
    // Each field ends where its spin pair starts.
    const auto edit = [&](const char* name, int left, int spinLeft, const char* text) {
      Edit& e = form.add<Edit>(name, box);
      e.setBounds(left, top, spinLeft - left, kRowHeight);
      e.setText(text);
      return &e;
    };
    const auto spin = [&](const char* name, int left) {
      SpinButtons& s = form.add<SpinButtons>(name, box);
      s.setBounds(left, top, kSpinWidth, kRowHeight);
      return &s;
    };
    r.freq = edit(n.freq, kFreqLeft, kFreqSpinLeft, n.freqText);
    r.q = edit(n.q, kQLeft, kQSpinLeft, "1.00");
    r.gain = edit(n.gain, kGainLeft, kGainSpinLeft, "0");
    r.type = &form.add<ComboBox>(n.type, box);
    r.type->setBounds(kTypeLeft, top, 64, kRowHeight);
    r.type->setItems(
        {std::string(BandTypeList[0]), std::string(BandTypeList[1]), std::string(BandTypeList[2])});
    r.type->setItemIndex(0);
    r.freqSpin = spin(n.freqSpin, kFreqSpinLeft);
    r.qSpin = spin(n.qSpin, kQSpinLeft);
    r.gainSpin = spin(n.gainSpin, kGainSpinLeft);
  }
}

void EqEditor::hookRow(int row) {
  Row& r = rows_[static_cast<size_t>(row)];
  FieldSnapshot& snapshot = f_.fieldSnapshot;
  hookCommitField(*r.freq, snapshot, KeySet::Unsigned, [this, row] { return commit(row, Kind::Frequency); });
  hookCommitField(*r.q, snapshot, KeySet::Unsigned, [this, row] { return commit(row, Kind::Q); });
  hookCommitField(*r.gain, snapshot, KeySet::Signed, [this, row] { return commit(row, Kind::Gain); });
  r.type->onChange = [this, row] { changeType(row); };
  const auto spinPair = [this, row](SpinButtons* s, Kind kind) {
    s->onDownClick = [this, row, kind] { step(row, kind, -1); };
    s->onUpClick = [this, row, kind] { step(row, kind, +1); };
  };
  spinPair(r.freqSpin, Kind::Frequency);
  spinPair(r.qSpin, Kind::Q);
  spinPair(r.gainSpin, Kind::Gain);
}

// The rows only act for an output whose EQ panel is open.
bool EqEditor::panelOpen() const {
  return f_.currentOutput >= 0 && f_.currentOutput < kOutputCount;
}

Edit& EqEditor::field(int row, Kind kind) const {
  const Row& r = rows_[static_cast<size_t>(row)];
  return kind == Kind::Frequency ? *r.freq : kind == Kind::Q ? *r.q : *r.gain;
}

void EqEditor::fillRows(int output) {
  for (int row = 0; row < kBandsPerOutput; ++row) {
    const EqBand& band = f_.model.band[static_cast<size_t>(bandSlotOf(output, row))];
    Row& r = rows_[static_cast<size_t>(row)];
    r.freq->setText(formatGeneral(tableEntry(FreqTable, band.freq)));
    r.q->setText(formatGeneral(tableEntry(QTable, band.q)));
    r.type->setItemIndex(listItem(band.type, BandTypeList.size()));
    r.gain->setText(formatGeneral(tableEntry(GainTable, band.gainInForce())));
  }
}

void EqEditor::redrawBand(int slot) {
  f_.graph.bandRedraw(slot / kBandsPerOutput, slot, f_.model.band[static_cast<size_t>(slot)]);
  f_.c.Image5->repaint();
}

void EqEditor::showFrequencyAndGain(int row, int slot) {
  const EqBand& band = f_.model.band[static_cast<size_t>(slot)];
  Row& r = rows_[static_cast<size_t>(row)];
  r.gain->setText(formatGeneral(tableEntry(GainTable, band.gainInForce())));
  r.freq->setText(formatGeneral(tableEntry(FreqTable, band.freq)));
}

bool EqEditor::commit(int row, Kind kind) {
  if (!panelOpen()) return false;
  const int slot = bandSlotOf(f_.currentOutput, row);
  f_.currentBandSlot = slot;
  Edit& text = field(row, kind);
  const std::optional<double> typed = readChangedText(text, f_.fieldSnapshot);
  if (!typed) return false;

  const std::span<const double> table = tableOf(kind);
  const int index = NearestIndex(table, std::clamp(*typed, table.front(), table.back()));
  EqBand& band = f_.model.band[static_cast<size_t>(slot)];
  switch (kind) {
    case Kind::Frequency:
      band.freq = index;
      break;
    case Kind::Q:
      band.q = index;
      break;
    case Kind::Gain:
      band.gainInForce() = index;
      break;
  }
  // A gain is written back after the frame is built, the other two before the redraw.
  if (kind != Kind::Gain) text.setText(formatGeneral(table[static_cast<size_t>(index)]));
  redrawBand(slot);
  f_.frames.buildBand(slot);
  if (kind == Kind::Gain) text.setText(formatGeneral(table[static_cast<size_t>(index)]));
  return true;
}

void EqEditor::changeType(int row) {
  if (!panelOpen()) return;
  const int slot = bandSlotOf(f_.currentOutput, row);
  f_.currentBandSlot = slot;
  EqBand& band = f_.model.band[static_cast<size_t>(slot)];
  Row& r = rows_[static_cast<size_t>(row)];
  band.type = std::clamp(r.type->itemIndex(), 0, 2);
  r.gain->setText(formatGeneral(tableEntry(GainTable, band.gainInForce())));
  redrawBand(slot);
  f_.frames.buildBand(slot);
}

void EqEditor::step(int row, Kind kind, int delta) {
  if (!panelOpen()) return;
  const int slot = bandSlotOf(f_.currentOutput, row);
  f_.currentBandSlot = slot;
  EqBand& band = f_.model.band[static_cast<size_t>(slot)];
  int& index = kind == Kind::Frequency ? band.freq : kind == Kind::Q ? band.q : band.gainInForce();
  const std::span<const double> table = tableOf(kind);
  const int top = static_cast<int>(table.size()) - 1;
  if (delta < 0 ? index <= 0 : index >= top) return;  // at the end of the range a click does nothing
  index = std::clamp(index + delta, 0, top);
  field(row, kind).setText(formatGeneral(table[static_cast<size_t>(index)]));
  redrawBand(slot);
  f_.frames.buildBand(slot);
}

void EqEditor::flatten() {
  if (!panelOpen() || !f_.portOpen()) return;
  f_.showProgressBox(208, 512, 0);
  for (Control* box : {static_cast<Control*>(f_.c.RzGroupBox8), static_cast<Control*>(f_.c.GroupBox1),
                       static_cast<Control*>(f_.c.GroupBox2), static_cast<Control*>(f_.c.GroupBox3)})
    box->setEnabled(false);
  // The send chain moves the bar by one step per frame written and closes the box after the sixth.
  f_.chain.frameProgress = FrameProgress{.on = true, .counter = 0};
  for (int row = 0; row < kBandsPerOutput; ++row) {
    const int slot = bandSlotOf(f_.currentOutput, row);
    f_.currentBandSlot = slot;
    f_.model.band[static_cast<size_t>(slot)].gainInForce() = kGainZeroIndex;
    redrawBand(slot);
    f_.frames.buildBand(slot);
  }
  for (Row& r : rows_) r.gain->setText("0");
}

}  // namespace audiodsp
