#include "platform/scripted_dialogs.h"

#include <filesystem>

#include "platform/form.h"

namespace audiodsp {

std::vector<std::string> ScriptedDialogs::texts() const {
  std::vector<std::string> out;
  for (const DialogRecord& r : shown_) {
    if (r.kind == DialogRecord::Kind::Message || r.kind == DialogRecord::Kind::Question)
      out.push_back(r.text);
  }
  return out;
}

std::vector<std::string> ScriptedDialogs::messages() const {
  std::vector<std::string> out;
  for (const DialogRecord& r : shown_) {
    if (r.kind == DialogRecord::Kind::Message) out.push_back(r.text);
  }
  return out;
}

void ScriptedDialogs::message(const std::string& text) {
  shown_.push_back({DialogRecord::Kind::Message, {}, text});
}

Answer ScriptedDialogs::question(const std::string& title, const std::string& text, DialogIcon icon,
                                 Answer defaultButton) {
  shown_.push_back({DialogRecord::Kind::Question, title, text, icon, defaultButton});
  if (answers_.empty()) {
    throw UnscriptedDialog("unscripted question \"" + title + "\": \"" + text + "\"");
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<std::string> ScriptedDialogs::nextFile(const char* dialog, const FileDialogSpec& spec) {
  if (files_.empty()) {
    throw UnscriptedDialog(std::string("unscripted ") + dialog + " \"" + spec.title + "\" (default name \"" +
                           spec.defaultName + "\")");
  }
  std::optional<std::string> f = std::move(files_.front());
  files_.pop_front();
  return f;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogSpec& spec) {
  shown_.push_back({DialogRecord::Kind::OpenFile, spec.title, spec.defaultName});
  return nextFile("open dialog", spec);
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogSpec& spec) {
  shown_.push_back({DialogRecord::Kind::SaveFile, spec.title, spec.defaultName});
  for (;;) {
    std::optional<std::string> path = nextFile("save dialog", spec);
    if (!path) return path;
    // As the real dialog: a name typed without an extension gets the default one.
    if (!spec.defaultExtension.empty() && !std::filesystem::path(*path).has_extension()) {
      *path += "." + spec.defaultExtension;
    }
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) return path;
    if (question(kReplaceQuestionTitle, replaceQuestionText(*path), DialogIcon::Warning, Answer::No) ==
        Answer::Yes) {
      return path;
    }
  }
}

void ScriptedDialogs::showModal(Form& form) {
  shown_.push_back({DialogRecord::Kind::Modal, form.caption(), {}});
}

}  // namespace audiodsp
