#pragma once
// The command line of the window program.
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace audiodsp {

struct AppOptions {
  bool demo = false;               // the simulated line of devices 1, 2 and 7 on a pty
  std::vector<std::string> ports;  // --port PATH, in the order given
  bool listPorts = false;
  bool trace = false;
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name (Qt's own arguments already taken out); on a bad
// argument, returns the message.
std::variant<AppOptions, std::string> parseAppOptions(std::span<const std::string_view> args);
std::string appUsage();

}  // namespace audiodsp
