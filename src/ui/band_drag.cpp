#include "ui/band_drag.h"

#include "graph/band_markers.h"
#include "ui/eq_editor.h"
#include "ui/main_form.h"

namespace audiodsp {

BandDrag::BandDrag(MainForm& form, EqEditor& editor) : f_(form), editor_(editor) {
  Image& graph = *f_.c.Image5;
  graph.onMouseDown = [this](MouseButton, int x, int y) { press(x, y); };
  graph.onMouseMove = [this](MouseButton, int x, int y) { move(x, y); };
  graph.onMouseUp = [this](MouseButton, int, int) { active_ = false; };
}

void BandDrag::press(int x, int y) {
  // A field being edited commits through its focus loss before anything is dragged.
  f_.form.setFocus(f_.get<Edit>("RzEdit94"));
  const int output = f_.currentOutput;
  if (output < 0 || output >= kOutputCount) return;
  const int band = grabbedBand(f_.graph.markers(output), x, y);
  if (band < 0) return;
  f_.currentBandSlot = bandSlotOf(output, band);
  active_ = true;
}

void BandDrag::move(int x, int y) {
  if (!active_) return;
  const int slot = f_.currentBandSlot;
  const Point marker = dragMarker(f_.graph.marker(slot), x, y);
  f_.graph.setMarker(slot, marker);
  applyDrag(f_.model.band[static_cast<size_t>(slot)], draggedValues(f_.graph.geometry(), marker));
  editor_.showFrequencyAndGain(slot % kBandsPerOutput, slot);
  // The redraw moves the marker on to the position of the snapped values.
  editor_.redrawBand(slot);
  f_.frames.buildBand(slot);
}

}  // namespace audiodsp
