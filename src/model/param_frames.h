#pragma once
// The 36 parameter frames: each edit rebuilds the 20-byte write of the one block that
// holds the changed field into its send-table slot and marks the slot; the send chain
// writes whatever the buffer holds when the slot's turn comes, so several edits of one
// block between two passes go out as one frame with the latest state.
//
//   slots 1..9    High, Mid, Low: output, crossover, limiter blocks (three per output)
//   slots 10..27  High, Mid, Low EQ bands (BandSlot 0..17)
//   slot 28       Main block (recoup, master volume, Main delay and polarity, BTL)
//   slot 29       the SystemBlock (device settings outside the group)
//   slots 30..35  Main EQ bands (BandSlot 18..23)
//   slot 36       Main crossover
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "model/group_image.h"
#include "model/param_model.h"
#include "protocol/send_table.h"

namespace audiodsp {

inline constexpr int kSystemFrameSlot = 29;
inline constexpr BlockAddress kSystemBlockAddress{kCmdSystem, 0};

// The device settings block. Bytes 0..2 are carried back as the device last reported
// them; byte 3 is the device number (1..255, not the wire form) the device is to take.
struct SystemBlock {
  uint8_t lastPreset = 0;    // byte 0: preset 1..8 last loaded on the device
  uint8_t echo1 = 0;         // byte 1: meaning is the device's own
  uint8_t echo2 = 0;         // byte 2: meaning is the device's own
  uint8_t deviceNumber = 1;  // byte 3
  uint8_t threshold = 0;     // byte 5: temperature threshold index 0..30

  Block bytes() const;
  // Takes bytes 0, 1, 2 and 5 of a system reply at the start of `text` (data bytes of a
  // 40-character reply). Nothing is taken, and false returned, when a byte is not readable.
  bool takeReply(std::string_view text);
};

// What the builders need from the window that owns them.
struct FrameContext {
  const ParamModel& model;
  const SystemBlock& system;
  SendTable& sendTable;
  std::function<bool()> portOpen;
  uint8_t& deviceId;    // wire address of the target, 0xFF in broadcast mode
  std::string& rxText;  // received text, dropped when the system block is written
  std::function<void(int deviceNumber)> onRetarget;  // the device selector shows the new target
};

class ParamFrames {
 public:
  explicit ParamFrames(FrameContext context) : ctx_(std::move(context)) {}

  // Builds the frame of slot 1..36 from the model and marks it; other slots do nothing.
  // Nothing is built while the port is closed or building is switched off.
  void build(int slot);

  // Output block of High, Mid or Low; for Main (3) the Main block, which holds its delay
  // and polarity.
  void buildOutput(int output);
  void buildCrossover(int output);  // 0..3
  void buildLimiter(int output);    // 0..2
  void buildBand(int bandSlot);     // 0..23
  void buildMain();
  // The system block: drops any partly received reply first, and afterwards takes the
  // new device number as the target (outside broadcast mode). The frame itself still
  // goes to the old address, which is how the device learns its new number.
  void buildSystem();

  // Switched off while an image is applied, so the controls it sets queue nothing.
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

 private:
  bool mayBuild() const;
  void store(int slot, BlockAddress address, const Block& payload);

  FrameContext ctx_;
  bool enabled_ = true;
};

}  // namespace audiodsp
