#include "sim/sim_options.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

namespace audiodsp {

namespace {

template <class T>
std::optional<T> parseNumber(std::string_view text, T lo, T hi) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi) return std::nullopt;
  return value;
}

std::optional<double> parseProbability(std::string_view text) {
  return parseNumber(text, 0.0, 1.0);
}

std::optional<std::vector<int>> parseIds(std::string_view text) {
  std::vector<int> ids;
  while (true) {
    const size_t comma = text.find(',');
    const auto id = parseNumber(text.substr(0, comma), 1, 255);
    if (!id) return std::nullopt;
    for (int seen : ids)
      if (seen == *id) return std::nullopt;
    ids.push_back(*id);
    if (comma == std::string_view::npos) return ids;
    text.remove_prefix(comma + 1);
  }
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    size_t j = i;
    while (j < text.size() && !(text[j] == ' ' || text[j] == '\t' || text[j] == '\r' || text[j] == '\n')) ++j;
    if (j > i) out.push_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

std::string describe(const SimDevice& d) {
  char line[160];
  std::snprintf(line, sizeof line,
                "device %d (address %02X): %s, temperature reading %u, attenuation %u dB, last preset %u, "
                "threshold %u\n",
                d.displayedId(), d.wireId(), d.silent ? "silent" : "speaking", unsigned(d.temperatureReading),
                unsigned(d.attenuationDb), unsigned(d.systemBlock[0]), unsigned(d.systemBlock[5]));
  return line;
}

}  // namespace

std::string simUsage() {
  return "usage: audiodsp-sim [options]\n"
         "A virtual amplifier line on a pseudo-terminal; prints the terminal's path.\n"
         "  --ids LIST      device IDs on the line, e.g. 1,2,7 (default 1)\n"
         "  --link PATH     also make a symlink to the terminal at PATH\n"
         "  --temp N        temperature sensor reading 0..65535 (default 3219)\n"
         "  --atten N       attenuation in dB 0..255 (default 0)\n"
         "  --drift         let temperature and attenuation wander\n"
         "  --delay-ms N    reply delay in ms (default 5)\n"
         "  --drop P        chance 0..1 that a reply is lost\n"
         "  --noise P       chance 0..1 that a reply gets a corrupted or an extra byte\n"
         "  --split         send replies in pieces with gaps\n"
         "  --no-check      take frames with a wrong check byte\n"
         "  --seed N        seed for the faults (default 1)\n"
         "  --trace         print every frame with its time (RX heard, TX sent)\n"
         "  --help          this text\n"
         "Commands on standard input: silent [ID], speak [ID], temp N [ID], atten N [ID], list, close, "
         "help.\n"
         "SIGUSR1 silences every device, SIGUSR2 lets them speak again, SIGTERM or SIGINT closes the line.\n";
}

std::variant<SimOptions, std::string> parseSimOptions(std::span<const std::string_view> args) {
  SimOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string_view> inlineValue;
    if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      inlineValue = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    auto value = [&]() -> std::optional<std::string_view> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    auto bad = [&](std::string_view why) { return std::string(arg) + ": " + std::string(why); };
    const bool flag = arg == "--drift" || arg == "--split" || arg == "--no-check" || arg == "--trace" ||
                      arg == "--help" || arg == "-h";
    if (flag && inlineValue) return bad("takes no value");
    if (arg == "--drift") {
      o.config.drift = true;
    } else if (arg == "--split") {
      o.config.split = true;
    } else if (arg == "--no-check") {
      o.config.checkCheckByte = false;
    } else if (arg == "--trace") {
      o.trace = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--ids" || arg == "--link" || arg == "--temp" || arg == "--atten" ||
               arg == "--delay-ms" || arg == "--drop" || arg == "--noise" || arg == "--seed") {
      const auto v = value();
      if (!v) return bad("needs a value");
      if (arg == "--ids") {
        const auto ids = parseIds(*v);
        if (!ids) return bad("expects distinct IDs 1..255 separated by commas");
        o.config.ids = *ids;
      } else if (arg == "--link") {
        if (v->empty()) return bad("needs a path");
        o.linkPath = std::string(*v);
      } else if (arg == "--temp") {
        const auto n = parseNumber<uint32_t>(*v, 0, 65535);
        if (!n) return bad("expects a reading 0..65535");
        o.config.temperatureReading = uint16_t(*n);
      } else if (arg == "--atten") {
        const auto n = parseNumber<uint32_t>(*v, 0, 255);
        if (!n) return bad("expects 0..255 dB");
        o.config.attenuationDb = uint8_t(*n);
      } else if (arg == "--delay-ms") {
        const auto n = parseNumber<uint32_t>(*v, 0, 60000);
        if (!n) return bad("expects 0..60000 ms");
        o.config.replyDelayMs = *n;
      } else if (arg == "--drop" || arg == "--noise") {
        const auto p = parseProbability(*v);
        if (!p) return bad("expects a probability 0..1");
        (arg == "--drop" ? o.config.dropP : o.config.noiseP) = *p;
      } else {
        const auto n = parseNumber<uint32_t>(*v, 0, 0xFFFFFFFFu);
        if (!n) return bad("expects a number");
        o.config.seed = *n;
      }
    } else {
      return bad("unknown option (see --help)");
    }
  }
  return o;
}

SimCommandResult runSimCommand(VirtualLine& line, std::string_view command) {
  const auto w = words(command);
  SimCommandResult r;
  if (w.empty()) return r;
  const std::string_view verb = w[0];

  // The devices a command reaches: the one named by the ID at argument `at`, or all of them.
  auto targets = [&](size_t at) -> std::optional<std::vector<SimDevice*>> {
    std::vector<SimDevice*> out;
    if (w.size() <= at) {
      for (SimDevice& d : line.devices()) out.push_back(&d);
      return out;
    }
    if (w.size() > at + 1) return std::nullopt;
    const auto id = parseNumber(w[at], 1, 255);
    SimDevice* d = id ? line.device(*id) : nullptr;
    if (!d) return std::nullopt;
    out.push_back(d);
    return out;
  };
  auto report = [&](const std::vector<SimDevice*>& ds) {
    for (const SimDevice* d : ds) r.output += describe(*d);
  };

  if (verb == "silent" || verb == "speak") {
    const auto ds = targets(1);
    if (!ds) {
      r.output = "no such device\n";
      return r;
    }
    for (SimDevice* d : *ds) d->silent = verb == "silent";
    report(*ds);
  } else if (verb == "temp" || verb == "atten") {
    const uint32_t limit = verb == "temp" ? 65535 : 255;
    const uint32_t n = w.size() >= 2 ? parseNumber<uint32_t>(w[1], 0, limit).value_or(limit + 1) : limit + 1;
    const auto ds = targets(2);
    if (n > limit) {
      r.output = verb == "temp" ? "temp expects a reading 0..65535\n" : "atten expects 0..255 dB\n";
      return r;
    }
    if (!ds) {
      r.output = "no such device\n";
      return r;
    }
    for (SimDevice* d : *ds) {
      if (verb == "temp") {
        d->temperatureReading = uint16_t(n);
      } else {
        d->attenuationDb = uint8_t(n);
      }
    }
    report(*ds);
  } else if (verb == "list" && w.size() == 1) {
    report(*targets(1));
  } else if (verb == "close" && w.size() == 1) {
    r.output = "closing the line\n";
    r.closeLine = true;
  } else if (verb == "help" && w.size() == 1) {
    r.output = "silent [ID], speak [ID], temp N [ID], atten N [ID], list, close, help\n";
  } else {
    r.output = "unknown command: " + std::string(command.substr(0, command.find_last_not_of("\r\n") + 1)) +
               " (try help)\n";
  }
  return r;
}

}  // namespace audiodsp
