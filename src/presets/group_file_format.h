#pragma once
// The two kinds of file in which groups are kept on the PC, as plain text a person can inspect:
// - a group file: one line, the 664 hex characters of one current-group reply as received;
// - a bank file: 20 such lines, one stored-group reply each, in the order they arrived.
// Every line ends with CR LF. When loading, lines are split at CR LF, LF or CR, and a final line
// break does not start a further line; hex digits may be upper or lower case.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace audiodsp {

inline constexpr size_t kBankGroups = 20;
// No valid file comes near this size (a bank file is 13 320 bytes); anything larger is not read.
inline constexpr size_t kMaxGroupFileBytes = 64 * 1024;

inline constexpr const char* kGroupFileName = "K_7146";
inline constexpr const char* kBankFileName = "8K_7146";
inline constexpr const char* kGroupFileFilter = "K_7146文档";
inline constexpr const char* kBankFileFilter = "8K_7146文档";
inline constexpr const char* kFileDamaged = "File damaged.";

// True for the 664 characters of one group frame, every pair two hex digits.
bool isGroupText(std::string_view text);

// What reading a file gave: its lines, or why there are none.
struct FileLines {
  enum class Status { Ok, Unreadable, Damaged } status = Status::Ok;
  std::vector<std::string> lines;
  std::string reason;  // for Unreadable: what the system said
};

// Reads a file as text lines. A file larger than kMaxGroupFileBytes, or one holding bytes that no
// text has (NUL and other control characters but tab, CR and LF), is Damaged without being read
// further.
FileLines readFileLines(const std::string& path);

// A group file's upload text: its lines joined without separators. nullopt when that is not one
// group (empty, wrong length, or not hex).
std::optional<std::string> groupFileText(const std::vector<std::string>& lines);
// True when the lines are a bank file: exactly 20, each one group.
bool isBankFile(const std::vector<std::string>& lines);

// Writes the lines, each followed by CR LF, so that the file either holds all of them or is left as
// it was: the text goes to a new file in the same folder, which then replaces the target. Empty on
// success, else the reason.
std::string writeFileLines(const std::string& path, const std::vector<std::string>& lines);

// The message for a file that could not be written or read.
std::string saveFailedText(const std::string& path, const std::string& reason);
std::string readFailedText(const std::string& path, const std::string& reason);

}  // namespace audiodsp
