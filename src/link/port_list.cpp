#include "link/port_list.h"

#include <libserialport.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>

namespace audiodsp {

namespace {

// ttyS2 before ttyS10: the text before the trailing digits, then the digits as a number.
bool naturalLess(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    size_t digits = s.size();
    while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9') --digits;
    unsigned long long number = 0;
    std::from_chars(s.data() + digits, s.data() + s.size(), number);
    return std::pair{s.substr(0, digits), number};
  };
  const auto [prefixA, numberA] = split(a);
  const auto [prefixB, numberB] = split(b);
  if (prefixA != prefixB) return prefixA < prefixB;
  if (numberA != numberB) return numberA < numberB;
  return a < b;
}

std::string canonical(const std::string& path) {
  std::error_code error;
  const auto resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

std::string text(const char* s) {
  return s != nullptr ? std::string(s) : std::string();
}

std::string usbDescription(const sp_port* port) {
  std::string description = text(sp_get_port_usb_manufacturer(port));
  const std::string product = text(sp_get_port_usb_product(port));
  if (!product.empty()) description += (description.empty() ? "" : " ") + product;
  const std::string serial = text(sp_get_port_usb_serial(port));
  if (!serial.empty()) description += " (" + serial + ")";
  return description.empty() ? text(sp_get_port_description(port)) : description;
}

}  // namespace

std::vector<PortInfo> ComNumbering::name(const std::vector<FoundPort>& found) {
  std::vector<const FoundPort*> arrivals;
  for (const FoundPort& port : found) {
    if (numbers_.count(port.path) == 0) arrivals.push_back(&port);
  }
  std::stable_sort(arrivals.begin(), arrivals.end(),
                   [](const FoundPort* a, const FoundPort* b) { return a->kind < b->kind; });
  for (const FoundPort* port : arrivals) {
    const int number = nextFree();
    if (number == 0) break;
    numbers_[port->path] = number;
    taken_[number] = true;
  }
  std::vector<PortInfo> named;
  for (const FoundPort& port : found) {
    const int number = numberOf(port.path);
    if (number != 0) named.push_back({"COM" + std::to_string(number), port.path, port.description});
  }
  return named;
}

int ComNumbering::numberOf(const std::string& path) const {
  const auto it = numbers_.find(path);
  return it != numbers_.end() ? it->second : 0;
}

int ComNumbering::nextFree() const {
  for (int n = kFirst; n <= kLast; ++n) {
    if (!taken_[n]) return n;
  }
  return 0;
}

std::vector<FoundPort> systemSerialPorts() {
  std::vector<FoundPort> found;
  sp_port** list = nullptr;
  if (sp_list_ports(&list) != SP_OK) return found;
  for (sp_port** port = list; *port != nullptr; ++port) {
    FoundPort entry;
    entry.path = text(sp_get_port_name(*port));
    if (entry.path.empty()) continue;
    if (sp_get_port_transport(*port) == SP_TRANSPORT_NATIVE) {
      entry.kind = PortKind::OnBoard;
      entry.description = text(sp_get_port_description(*port));
    } else {
      entry.kind = PortKind::Usb;
      entry.description = usbDescription(*port);
    }
    found.push_back(std::move(entry));
  }
  sp_free_port_list(list);
  std::sort(found.begin(), found.end(), [](const FoundPort& a, const FoundPort& b) {
    return a.kind != b.kind ? a.kind < b.kind : naturalLess(a.path, b.path);
  });
  return found;
}

SystemPortSource::SystemPortSource(PortListOptions options) : options_(std::move(options)) {}

std::vector<PortInfo> SystemPortSource::ports() {
  std::vector<FoundPort> found = systemSerialPorts();
  std::set<std::string> listed;
  for (const FoundPort& port : found) listed.insert(canonical(port.path));
  for (const std::string& path : options_.namedPaths) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) || !listed.insert(canonical(path)).second) continue;
    found.push_back({path, PortKind::Named, "named on the command line"});
  }
  if (!options_.demoPath.empty()) {
    found.push_back({options_.demoPath, PortKind::Demo, options_.demoDescription});
  }
  return numbering_.name(found);
}

std::vector<std::string> portListLines(PortSource& source) {
  std::vector<PortInfo> ports = source.ports();
  if (ports.empty()) return {"No serial ports found."};
  auto number = [](const PortInfo& p) {
    int n = 0;
    std::from_chars(p.name.data() + std::min<size_t>(3, p.name.size()), p.name.data() + p.name.size(), n);
    return n;
  };
  std::stable_sort(ports.begin(), ports.end(),
                   [&](const PortInfo& a, const PortInfo& b) { return number(a) < number(b); });
  size_t nameWidth = 0;
  size_t pathWidth = 0;
  for (const PortInfo& p : ports) {
    nameWidth = std::max(nameWidth, p.name.size());
    pathWidth = std::max(pathWidth, p.path.size());
  }
  std::vector<std::string> lines;
  for (const PortInfo& p : ports) {
    std::string line = p.name + std::string(nameWidth - p.name.size() + 2, ' ') + p.path;
    if (!p.description.empty()) line += std::string(pathWidth - p.path.size() + 2, ' ') + p.description;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace audiodsp
