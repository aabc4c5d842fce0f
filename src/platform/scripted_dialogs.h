#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace audiodsp {

// Everything a dialog showed, in order.
struct DialogRecord {
  enum class Kind { Message, Question, OpenFile, SaveFile, Modal };
  Kind kind;
  std::string title;  // question title, file dialog title or the modal window's caption
  std::string text;   // message or question text; for file dialogs the default file name
  DialogIcon icon = DialogIcon::None;
  Answer defaultButton = Answer::No;
  friend bool operator==(const DialogRecord&, const DialogRecord&) = default;
};

// Thrown when the program asks something the test did not script: the test fails with the question
// in the message instead of going on with an invented answer.
class UnscriptedDialog : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Dialogs for tests. Questions and file dialogs take their answers from two queues; every dialog is
// recorded. A question or file dialog with its queue empty throws UnscriptedDialog. Messages and modal
// windows need no answer.
//
// saveFile behaves like the real dialog for existing files: it asks the replace question (recorded,
// answered from the question queue) and on "No" takes the next file answer.
class ScriptedDialogs : public Dialogs {
 public:
  void answer(Answer a) { answers_.push_back(a); }
  void chooseFile(std::string path) { files_.emplace_back(std::move(path)); }
  void cancelFile() { files_.emplace_back(std::nullopt); }

  const std::vector<DialogRecord>& shown() const { return shown_; }
  // The texts of messages and questions, in order.
  std::vector<std::string> texts() const;
  // The texts of messages only, in order.
  std::vector<std::string> messages() const;
  void clearShown() { shown_.clear(); }
  bool scriptDone() const { return answers_.empty() && files_.empty(); }

  void message(const std::string& text) override;
  Answer question(const std::string& title, const std::string& text, DialogIcon icon,
                  Answer defaultButton) override;
  std::optional<std::string> openFile(const FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(const FileDialogSpec& spec) override;
  void showModal(Form& form) override;

 private:
  std::optional<std::string> nextFile(const char* dialog, const FileDialogSpec& spec);

  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::vector<DialogRecord> shown_;
};

}  // namespace audiodsp
