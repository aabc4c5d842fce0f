#pragma once
// The program's modal dialogs as Qt dialogs: message boxes, Yes/No questions, the file dialogs and
// the secondary windows. Qt keeps the event loop running while one is open, so timers and serial
// notifications go on, as they do behind the system's modal boxes.
#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace audiodsp {

class QtDialogs final : public Dialogs {
 public:
  // The program's name, the title of its message boxes.
  static constexpr const char* kMessageTitle = "audiodsp";

  // Dialogs are centred on parent (set once the main window exists).
  void setParent(QWidget* parent) { parent_ = parent; }

  void message(const std::string& text) override;
  Answer question(const std::string& title, const std::string& text, DialogIcon icon,
                  Answer defaultButton) override;
  std::optional<std::string> openFile(const FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(const FileDialogSpec& spec) override;
  void showModal(Form& form) override;

  // The filter line of a file dialog: "<description> (<pattern>)", every file when no pattern is given.
  static QString filterText(const FileDialogSpec& spec);

 private:
  QPointer<QWidget> parent_;
};

}  // namespace audiodsp
