#pragma once
// The trace of the wire: one line per frame (or per run of bytes) with the time in seconds
// and milliseconds, the direction and the bytes in upper-case hex, for example
//      12.345 TX A5 A5 A5 00 A2 00 2B 00 00 00 89 AA
// The program and the simulator print it with --trace, and tests read such lines back as
// fixtures.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace audiodsp {

enum class TraceDirection { Tx, Rx };

struct TraceLine {
  uint64_t atMs = 0;
  TraceDirection direction = TraceDirection::Tx;
  std::vector<uint8_t> bytes;
  bool operator==(const TraceLine&) const = default;
};

// One line, without the line break.
std::string formatTraceLine(uint64_t atMs, TraceDirection direction, std::span<const uint8_t> bytes);
inline std::string formatTraceLine(const TraceLine& line) {
  return formatTraceLine(line.atMs, line.direction, line.bytes);
}

// Reads one line: time (seconds, up to three decimals), "TX" or "RX", then at least one
// byte as two hex digits (either case), all separated by blanks. nullopt on anything else.
std::optional<TraceLine> parseTraceLine(std::string_view line);

// Reads a whole trace; blank lines and lines starting with '#' are skipped. nullopt if any
// other line is not a trace line.
std::optional<std::vector<TraceLine>> parseTrace(std::string_view text);

}  // namespace audiodsp
