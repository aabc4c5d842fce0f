#include "qt/qt_dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/form.h"
#include "qt/qt_form_view.h"

namespace audiodsp {

namespace {

QString qs(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QMessageBox::Icon qtIcon(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::Information:
      return QMessageBox::Information;
    case DialogIcon::Question:
      return QMessageBox::Question;
    case DialogIcon::Warning:
      return QMessageBox::Warning;
    case DialogIcon::Error:
      return QMessageBox::Critical;
    case DialogIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

std::optional<std::string> runFileDialog(QWidget* parent, const FileDialogSpec& spec,
                                         QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, qs(spec.title));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilter(QtDialogs::filterText(spec));
  if (!spec.defaultExtension.empty()) {
    QString suffix = qs(spec.defaultExtension);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
  }
  if (!spec.defaultName.empty()) dialog.selectFile(qs(spec.defaultName));
  // Saving over an existing file asks Qt's own replace question; "No" goes back to choosing.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

QString QtDialogs::filterText(const FileDialogSpec& spec) {
  const QString pattern = spec.filterPattern.empty() ? QStringLiteral("*") : qs(spec.filterPattern);
  return qs(spec.filterDescription) + " (" + pattern + ")";
}

void QtDialogs::message(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kMessageTitle, qs(text), QMessageBox::Ok, parent_);
  box.exec();
}

Answer QtDialogs::question(const std::string& title, const std::string& text, DialogIcon icon,
                           Answer defaultButton) {
  QMessageBox box(qtIcon(icon), qs(title), qs(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(defaultButton == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> QtDialogs::openFile(const FileDialogSpec& spec) {
  return runFileDialog(parent_, spec, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogSpec& spec) {
  return runFileDialog(parent_, spec, QFileDialog::AcceptSave);
}

void QtDialogs::showModal(Form& form) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(qs(form.caption()));
  form.show();
  {
    QtFormView view(form, QtFormView::Kind::Embedded, &dialog);
    dialog.setFixedSize(view.window()->size());
    // The form closing (from a handler) closes the dialog.
    auto previous = form.onClose;
    form.onClose = [&dialog, previous] {
      if (previous) previous();
      dialog.reject();
    };
    dialog.exec();
    form.onClose = previous;
  }
}

}  // namespace audiodsp
