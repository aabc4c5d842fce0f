// The parts of the main window, constructed once the layout exists. Each part adds the controls of
// its own boxes, hooks their events and plugs into the shell (panel loads, reply handlers, commands).
#include "ui/main_form.h"

namespace audiodsp {

void MainForm::constructParts() {
  // One line per part, in the order they hook into the window, e.g.
  //   parts.push_back(std::make_unique<ConnectionControl>(*this));
}

MainForm::~MainForm() = default;

}  // namespace audiodsp
