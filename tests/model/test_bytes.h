#pragma once
// Spaced hex ("A5 A5 A5 00 ...") as bytes, so expectations read like the wire.
#include <cstdint>
#include <string>
#include <vector>

namespace audiodsp::testing {

inline std::vector<uint8_t> wire(const std::string& spaced) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < spaced.size(); i += 3)
    out.push_back(static_cast<uint8_t>(std::stoi(spaced.substr(i, 2), nullptr, 16)));
  return out;
}

}  // namespace audiodsp::testing
