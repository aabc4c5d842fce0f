#include "protocol/trace.h"

#include <cstdio>

namespace audiodsp {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The next blank-separated word, advancing `rest` past it.
std::string_view nextWord(std::string_view& rest) {
  size_t i = 0;
  while (i < rest.size() && isBlank(rest[i])) ++i;
  size_t j = i;
  while (j < rest.size() && !isBlank(rest[j])) ++j;
  const std::string_view word = rest.substr(i, j - i);
  rest.remove_prefix(j);
  return word;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<uint64_t> parseTime(std::string_view word) {
  const size_t dot = word.find('.');
  const std::string_view whole = word.substr(0, dot);
  const std::string_view frac = dot == std::string_view::npos ? std::string_view{} : word.substr(dot + 1);
  if (whole.empty() || whole.size() > 12 || frac.size() > 3 ||
      (dot != std::string_view::npos && frac.empty()))
    return std::nullopt;
  uint64_t seconds = 0, ms = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    seconds = seconds * 10 + uint64_t(c - '0');
  }
  for (size_t i = 0; i < 3; ++i) {
    const char c = i < frac.size() ? frac[i] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    ms = ms * 10 + uint64_t(c - '0');
  }
  return seconds * 1000 + ms;
}

}  // namespace

std::string formatTraceLine(uint64_t atMs, TraceDirection direction, std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char time[32];
  std::snprintf(time, sizeof time, "%5llu.%03llu", static_cast<unsigned long long>(atMs / 1000),
                static_cast<unsigned long long>(atMs % 1000));
  std::string line = time;
  line += direction == TraceDirection::Tx ? " TX" : " RX";
  for (uint8_t b : bytes) {
    line += ' ';
    line += kDigits[b >> 4];
    line += kDigits[b & 0x0F];
  }
  return line;
}

std::optional<TraceLine> parseTraceLine(std::string_view line) {
  TraceLine out;
  const auto time = parseTime(nextWord(line));
  if (!time) return std::nullopt;
  out.atMs = *time;
  const std::string_view dir = nextWord(line);
  if (dir == "TX") {
    out.direction = TraceDirection::Tx;
  } else if (dir == "RX") {
    out.direction = TraceDirection::Rx;
  } else {
    return std::nullopt;
  }
  for (std::string_view word = nextWord(line); !word.empty(); word = nextWord(line)) {
    const int hi = word.size() == 2 ? hexValue(word[0]) : -1;
    const int lo = word.size() == 2 ? hexValue(word[1]) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    out.bytes.push_back(uint8_t(hi << 4 | lo));
  }
  if (out.bytes.empty()) return std::nullopt;
  return out;
}

std::optional<std::vector<TraceLine>> parseTrace(std::string_view text) {
  std::vector<TraceLine> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::string_view probe = line;
    const std::string_view first = nextWord(probe);
    if (first.empty() || first.front() == '#') continue;
    auto parsed = parseTraceLine(line);
    if (!parsed) return std::nullopt;
    lines.push_back(std::move(*parsed));
  }
  return lines;
}

}  // namespace audiodsp
