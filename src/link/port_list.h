#pragma once
// The port list of a Linux machine under COM names. The operator picks ports by COM number
// and the device search lists its hits by them, so every port gets a number 1..255 the way
// Windows hands them out: on-board UARTs first (from COM1), then USB and ACM adapters, then
// the paths named on the command line in the order given, then the demo line. A port that
// shows up later gets the lowest number nobody holds, and a path keeps its number for the
// life of the program, also while it is unplugged.
#include <map>
#include <string>
#include <vector>

#include "ui/port_source.h"

namespace audiodsp {

// In numbering order.
enum class PortKind { OnBoard, Usb, Named, Demo };

struct FoundPort {
  std::string path;
  PortKind kind = PortKind::OnBoard;
  std::string description;
};

class ComNumbering {
 public:
  static constexpr int kFirst = 1;
  static constexpr int kLast = 255;

  // The ports present now under their COM names, in the order given. New paths are
  // numbered by kind, and within a kind in the order given. A port for which no number is
  // left is not listed.
  std::vector<PortInfo> name(const std::vector<FoundPort>& found);

  // The number a path holds, 0 when it has none.
  int numberOf(const std::string& path) const;

 private:
  int nextFree() const;

  std::map<std::string, int> numbers_;
  std::vector<bool> taken_ = std::vector<bool>(kLast + 1, false);
};

struct PortListOptions {
  std::vector<std::string> namedPaths;  // --port PATH, in the order given
  std::string demoPath;                 // the simulated line; empty when there is none
  std::string demoDescription;
};

// The system's serial ports as libserialport sees them: on-board UARTs and USB, ACM and
// Bluetooth adapters (the last two count as adapters), each kind in natural path order
// (ttyS2 before ttyS10).
std::vector<FoundPort> systemSerialPorts();

// The real port list: the system's ports, the named paths that exist now (a pty made by
// the simulator comes and goes) and the demo line. A named path that the system lists as
// well is listed once, as the system's port.
class SystemPortSource final : public PortSource {
 public:
  explicit SystemPortSource(PortListOptions options);
  std::vector<PortInfo> ports() override;

 private:
  PortListOptions options_;
  ComNumbering numbering_;
};

// The lines `audiodsp --list-ports` prints: one per port in COM order, with its device path
// and what is known about it.
std::vector<std::string> portListLines(PortSource& source);

}  // namespace audiodsp
