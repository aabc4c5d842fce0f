#pragma once
// Dragging the EQ band markers on the response graph (Image5). A press within 8 pixels of a marker of
// the output being edited grabs it (the lowest band wins where squares overlap); every move while held
// puts the marker at the mouse within the drag limits, stores the frequency and the gain in force that
// position stands for, shows them in the band's fields, redraws the band at its snapped table position
// and builds the band's frame. The release ends the drag; nothing is drawn or sent on it.
namespace audiodsp {

class MainForm;
class EqEditor;

class BandDrag {
 public:
  // Hooks the mouse events of Image5.
  BandDrag(MainForm& form, EqEditor& editor);

  // DragActive: a marker is held.
  bool active() const { return active_; }

 private:
  void press(int x, int y);
  void move(int x, int y);

  MainForm& f_;
  EqEditor& editor_;
  bool active_ = false;
};

}  // namespace audiodsp
