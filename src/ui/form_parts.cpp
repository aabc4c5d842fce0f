// The parts of the main window, constructed once the layout exists. Each part adds the controls of
// its own boxes, hooks their events and plugs into the shell (panel loads, reply handlers, commands).
#include "ui/main_form.h"

#include "addressing/device_addressing.h"
#include "addressing/device_search.h"
#include "presets/group_files.h"
#include "presets/initial_data.h"
#include "presets/preset_slots.h"
#include "ui/connection_control.h"
#include "ui/crossover_editor.h"
#include "ui/eq_editor.h"
#include "ui/level_controls.h"

namespace audiodsp {

void MainForm::constructParts() {
  // One line per part, in the order they hook into the window, e.g.
  //   parts.push_back(std::make_unique<ConnectionControl>(*this));
  parts.push_back(std::make_unique<ConnectionControl>(*this));
  parts.push_back(std::make_unique<DeviceAddressing>(*this));
  parts.push_back(std::make_unique<DeviceSearch>(*this));
  parts.push_back(std::make_unique<LevelControls>(*this));
  parts.push_back(std::make_unique<EqEditor>(*this));
  parts.push_back(std::make_unique<CrossoverEditor>(*this));
  parts.push_back(std::make_unique<PresetSlots>(*this));
  parts.push_back(std::make_unique<GroupFiles>(*this));
  parts.push_back(std::make_unique<InitialData>(*this));
}

MainForm::~MainForm() = default;

}  // namespace audiodsp
