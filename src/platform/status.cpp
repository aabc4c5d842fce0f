#include "platform/status.h"

#include <algorithm>
#include <utility>

namespace audiodsp {

ProgressBar::ProgressBar(Form& form, Control* parent, std::string name)
    : Control(form, parent, std::move(name)) {}

void ProgressBar::setPercent(int p) {
  p = std::clamp(p, 0, 100);
  if (p == percent_) return;
  percent_ = p;
  notify(Property::Percent);
}

StatusBar::StatusBar(Form& form, Control* parent, std::string name)
    : Control(form, parent, std::move(name)) {}

void StatusBar::addPanel(int width, std::string text) {
  panels_.push_back({std::move(text), width});
  notify(Property::Panels);
}

std::string StatusBar::panelText(int i) const {
  return i >= 0 && i < static_cast<int>(panels_.size()) ? panels_[static_cast<size_t>(i)].text
                                                        : std::string();
}

void StatusBar::setPanelText(int i, const std::string& text) {
  if (i < 0 || i >= static_cast<int>(panels_.size())) return;
  StatusPanel& panel = panels_[static_cast<size_t>(i)];
  if (panel.text == text) return;
  panel.text = text;
  notify(Property::Panels);
}

}  // namespace audiodsp
