#include "platform/dialogs.h"

#include <filesystem>

namespace audiodsp {

Dialogs::~Dialogs() = default;

std::string replaceQuestionText(const std::string& path) {
  return std::filesystem::path(path).filename().string() + " already exists.\nDo you want to replace it?";
}

}  // namespace audiodsp
