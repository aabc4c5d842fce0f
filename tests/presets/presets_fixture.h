#pragma once
// A connected window on the simulated line, and a temporary folder for real files.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/group_image.h"
#include "protocol/frame_codec.h"
#include "support/form_fixture.h"

namespace audiodsp::testing {

// Lets the start-up search end, then connects with the connect button: the current group is read
// and applied, the names are asked for and polling runs. In broadcast mode the notice is answered
// with Yes and the initial data box stays open.
inline void connectDemo(FormFixture& fx, uint8_t wireId = 0) {
  MainForm& f = fx.f();
  fx.run(1000);
  f.deviceId = wireId;
  f.broadcastOn = wireId == kBroadcastAddress;
  if (f.broadcastOn) fx.dialogs.answer(Answer::Yes);
  f.c.Button3->userClick();
  if (!f.broadcastOn) fx.run(3000);
  fx.sent.clear();
  fx.dialogs.clearShown();
}

// The hex text of a group reply from `address` (command 0x28 current, 0x29 stored).
inline std::string groupText(const SimGroup& g, uint8_t address = 0, uint8_t command = kCmdCurrentGroup,
                             uint8_t group = 0) {
  return toHex(buildFrame(address, kTypeData, group, command, 0, g));
}

// A group that differs from the factory one in every output and in the master volume.
inline SimGroup distinctGroup(int seed) {
  ParamModel m;
  m.masterVolume = 100 + seed;
  for (int o = 0; o < 4; ++o) m.band[o * 6 + 2].peqGain = 60 + seed + o;
  m.crossover[1].hpfFreq = 30 + seed;
  const GroupImage image = encodeImage(m);
  SimGroup g;
  std::copy(image.begin(), image.end(), g.begin());
  return g;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "audiodsp-files-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
    return file(name);
  }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace audiodsp::testing
