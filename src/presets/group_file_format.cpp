#include "presets/group_file_format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/memo.h"
#include "protocol/frame_codec.h"

namespace audiodsp {
namespace {

std::string systemReason(int error) {
  return std::strerror(error);
}

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool isTextByte(unsigned char b) {
  return b >= 0x20 || b == '\t' || b == '\r' || b == '\n';
}

bool writeAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool isGroupText(std::string_view text) {
  if (text.size() != kImageTextSize) return false;
  for (char ch : text)
    if (hexDigitValue(ch) < 0) return false;
  return true;
}

FileLines readFileLines(const std::string& path) {
  FileLines out;
  Fd file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat info {};
  if (file.fd < 0 || ::fstat(file.fd, &info) != 0) {
    out.status = FileLines::Status::Unreadable;
    out.reason = systemReason(errno);
    return out;
  }
  if (!S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) > kMaxGroupFileBytes) {
    out.status = FileLines::Status::Damaged;
    return out;
  }
  // Read at most one byte past the limit, so a file that grows meanwhile is still refused.
  std::string text;
  char buffer[4096];
  while (text.size() <= kMaxGroupFileBytes) {
    const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      out.status = FileLines::Status::Unreadable;
      out.reason = systemReason(errno);
      return out;
    }
    if (n == 0) break;
    for (ssize_t i = 0; i < n; ++i)
      if (!isTextByte(static_cast<unsigned char>(buffer[i]))) {
        out.status = FileLines::Status::Damaged;
        return out;
      }
    text.append(buffer, static_cast<size_t>(n));
  }
  if (text.size() > kMaxGroupFileBytes) {
    out.status = FileLines::Status::Damaged;
    return out;
  }
  out.lines = splitLines(text);
  return out;
}

std::optional<std::string> groupFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line;
  if (!isGroupText(text)) return std::nullopt;
  return text;
}

bool isBankFile(const std::vector<std::string>& lines) {
  if (lines.size() != kBankGroups) return false;
  for (const std::string& line : lines)
    if (!isGroupText(line)) return false;
  return true;
}

std::string writeFileLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& line : lines) data += line + "\r\n";
  const std::filesystem::path target(path);
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  Fd file{::mkstemp(temp.data())};
  if (file.fd < 0) return systemReason(errno);
  // A file that already exists keeps its permissions; a new one gets the usual ones.
  struct stat old {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  const bool written = ::fchmod(file.fd, mode) == 0 && writeAll(file.fd, data) && ::fsync(file.fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(file.fd) == 0;
  const int closeError = errno;
  file.fd = -1;
  if (!written || !closed) {
    ::unlink(temp.c_str());
    return systemReason(written ? closeError : writeError);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return systemReason(error);
  }
  return {};
}

std::string saveFailedText(const std::string& path, const std::string& reason) {
  return "Cannot save \"" + path + "\": " + reason + ".";
}

std::string readFailedText(const std::string& path, const std::string& reason) {
  return "Cannot read \"" + path + "\": " + reason + ".";
}

}  // namespace audiodsp
