#pragma once

#include <optional>
#include <string>

namespace audiodsp {

class Form;

enum class DialogIcon { None, Information, Question, Warning, Error };
enum class Answer { Yes, No };

// What an open or save file dialog shows: its title, the proposed file name, one filter (a description
// and a pattern such as "*.txt"; an empty pattern lists every file) and the extension added to a name
// typed without one (empty: none is added).
struct FileDialogSpec {
  std::string title;
  std::string defaultName;
  std::string filterDescription;
  std::string filterPattern;
  std::string defaultExtension;
};

// The modal dialogs of the program. All are modal: they return when the operator has answered. In the
// real window the loop keeps running meanwhile (timers fire, received data is handled); the scripted one
// returns at once.
class Dialogs {
 public:
  virtual ~Dialogs();

  // A message box with an OK button.
  virtual void message(const std::string& text) = 0;
  // A Yes/No box; closing it without choosing counts as No.
  virtual Answer question(const std::string& title, const std::string& text, DialogIcon icon,
                          Answer defaultButton) = 0;
  // The chosen path, or nothing when the operator cancels.
  virtual std::optional<std::string> openFile(const FileDialogSpec& spec) = 0;
  // The chosen path, or nothing when the operator cancels. Choosing an existing file asks whether to
  // replace it; "No" goes back to choosing.
  virtual std::optional<std::string> saveFile(const FileDialogSpec& spec) = 0;
  // Shows a secondary window modally until the operator closes it.
  virtual void showModal(Form& form) = 0;
};

// The text of the replace question a save dialog asks for an existing file, and its title.
std::string replaceQuestionText(const std::string& path);
inline constexpr const char* kReplaceQuestionTitle = "Confirm Save As";

}  // namespace audiodsp
