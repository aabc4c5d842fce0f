#pragma once

#include <string>
#include <vector>

#include "platform/control.h"

namespace audiodsp {

// A multi-line text. Its lines also serve as a line list that loads from and saves to files: 8-bit
// text, CR LF after every line when saved; CR LF, LF or CR end a line when loaded, and a final line
// break does not start a further line. Its text is the lines, each followed by CR LF.
class Memo : public Control {
 public:
  Memo(Form& form, Control* parent, std::string name);

  const std::vector<std::string>& lines() const { return lines_; }
  int lineCount() const { return static_cast<int>(lines_.size()); }
  void setLines(std::vector<std::string> lines);
  void addLine(std::string line);
  void clear() { setLines({}); }
  // Splits s into lines as a loaded file is.
  void setText(const std::string& s) override;

  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool on);

  // False (lines unchanged) when the file cannot be read.
  bool loadFromFile(const std::string& path);
  // False when the file cannot be written completely.
  bool saveToFile(const std::string& path) const;

 private:
  std::vector<std::string> lines_;
  bool readOnly_ = false;
};

// Splits text into lines at CR LF, LF or CR; a final line break does not start a further line.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace audiodsp
