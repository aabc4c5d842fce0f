#pragma once
// Byte strings written the way frames are printed: "A5 A5 A5 00 ...".
#include <cstdint>
#include <string_view>
#include <vector>

namespace audiodsp::simtest {

inline std::vector<uint8_t> hex(std::string_view text) {
  std::vector<uint8_t> out;
  auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    out.push_back(uint8_t(digit(text[i]) << 4 | digit(text[i + 1])));
    i += 2;
  }
  return out;
}

inline std::vector<uint8_t> join(std::vector<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace audiodsp::simtest
