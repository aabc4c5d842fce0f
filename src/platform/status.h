#pragma once

#include <string>
#include <vector>

#include "platform/control.h"

namespace audiodsp {

// A progress bar showing a percentage, 0..100.
class ProgressBar : public Control {
 public:
  ProgressBar(Form& form, Control* parent, std::string name);
  int percent() const { return percent_; }
  // Clamped to 0..100.
  void setPercent(int p);

 private:
  int percent_ = 0;
};

struct StatusPanel {
  std::string text;
  int width = 50;
  friend bool operator==(const StatusPanel&, const StatusPanel&) = default;
};

// The status bar at the bottom of a window, a row of text panels.
class StatusBar : public Control {
 public:
  StatusBar(Form& form, Control* parent, std::string name);
  const std::vector<StatusPanel>& panels() const { return panels_; }
  void addPanel(int width, std::string text = {});
  // The text of panel i, or an empty text when there is no such panel.
  std::string panelText(int i) const;
  // Ignored for a panel that does not exist.
  void setPanelText(int i, const std::string& text);

 private:
  std::vector<StatusPanel> panels_;
};

}  // namespace audiodsp
