#pragma once
// The simulator's command line and the commands it takes on its standard input while it
// runs, kept apart from main() so both can be tested.
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "sim/virtual_line.h"

namespace audiodsp {

struct SimOptions {
  SimConfig config;
  std::string linkPath;  // make a symlink to the pty here
  bool trace = false;
  bool help = false;
};

// Parses the arguments after the program name; on a bad argument, returns the message.
std::variant<SimOptions, std::string> parseSimOptions(std::span<const std::string_view> args);
std::string simUsage();

struct SimCommandResult {
  std::string output;  // text for the operator, each line ending in a line break
  bool closeLine = false;
};

// One line typed on the console: silent [ID], speak [ID], temp N [ID], atten N [ID], list,
// close, help. Without an ID a command reaches every device.
SimCommandResult runSimCommand(VirtualLine& line, std::string_view command);

}  // namespace audiodsp
