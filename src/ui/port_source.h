#pragma once
// Where the port list comes from: the system's serial ports (and the paths the operator named on the
// command line, and the simulated demo line), each shown under a COM<n> name.
#include <string>
#include <vector>

namespace audiodsp {

struct PortInfo {
  std::string name;         // "COM3": what the port list shows
  std::string path;         // the device it stands for, e.g. /dev/ttyUSB0
  std::string description;  // USB manufacturer and product, or what else is known
  friend bool operator==(const PortInfo&, const PortInfo&) = default;
};

class PortSource {
 public:
  virtual ~PortSource() = default;
  // The ports present now, in no particular order.
  virtual std::vector<PortInfo> ports() = 0;
};

// A port list that is what it was given; tests change it to plug and pull adapters.
class FixedPortSource final : public PortSource {
 public:
  FixedPortSource() = default;
  explicit FixedPortSource(std::vector<PortInfo> ports) : ports_(std::move(ports)) {}
  std::vector<PortInfo> ports() override { return ports_; }
  void set(std::vector<PortInfo> ports) { ports_ = std::move(ports); }

 private:
  std::vector<PortInfo> ports_;
};

}  // namespace audiodsp
