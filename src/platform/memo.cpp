#include "platform/memo.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace audiodsp {

namespace {
std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}
}  // namespace

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

Memo::Memo(Form& form, Control* parent, std::string name) : Control(form, parent, std::move(name)) {
  setFocusable(true);
  setColor(colors::kWindow);
}

void Memo::setLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  setTextSilently(joinLines(lines_));
  notify(Property::Lines);
}

void Memo::addLine(std::string line) {
  lines_.push_back(std::move(line));
  setTextSilently(joinLines(lines_));
  notify(Property::Lines);
}

void Memo::setText(const std::string& s) {
  setLines(splitLines(s));
}

void Memo::setReadOnly(bool on) {
  if (readOnly_ == on) return;
  readOnly_ = on;
  notify(Property::ReadOnly);
}

bool Memo::loadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  setText(content);
  return true;
}

bool Memo::saveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text();
  out.close();
  return !out.fail();
}

}  // namespace audiodsp
