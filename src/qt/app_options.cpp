#include "qt/app_options.h"

namespace audiodsp {

std::variant<AppOptions, std::string> parseAppOptions(std::span<const std::string_view> args) {
  AppOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (a == "--demo") {
      o.demo = true;
    } else if (a == "--port") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return std::string("--port needs a device path");
      o.ports.emplace_back(args[++i]);
    } else if (a.starts_with("--port=")) {
      if (a.size() == 7) return std::string("--port needs a device path");
      o.ports.emplace_back(a.substr(7));
    } else if (a == "--list-ports") {
      o.listPorts = true;
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else {
      return "unknown option " + std::string(a) + " (see --help)";
    }
  }
  return o;
}

std::string appUsage() {
  return "Usage: audiodsp [options]\n"
         "Controls audio processors/amplifiers on a serial line (9600 8N1).\n"
         "\n"
         "  --demo          add a simulated line with devices 1, 2 and 7 to the port list\n"
         "  --port PATH     add the serial device PATH to the port list (may be repeated)\n"
         "  --list-ports    print the port list (COM name, device, description) and exit\n"
         "  --trace         print every frame sent (TX) and received (RX) with its time\n"
         "  --help          show this help and exit\n"
         "  --version       show the version and exit\n";
}

}  // namespace audiodsp
