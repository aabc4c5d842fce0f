#include "model/param_frames.h"

#include <algorithm>

namespace audiodsp {

Block SystemBlock::bytes() const {
  return {lastPreset, echo1, echo2, deviceNumber, 0, threshold, 0, 0};
}

bool SystemBlock::takeReply(std::string_view text) {
  const auto b0 = hexByteAt(text, kDataOffset + 0);
  const auto b1 = hexByteAt(text, kDataOffset + 1);
  const auto b2 = hexByteAt(text, kDataOffset + 2);
  const auto b5 = hexByteAt(text, kDataOffset + 5);
  if (!b0 || !b1 || !b2 || !b5) return false;
  lastPreset = *b0;
  echo1 = *b1;
  echo2 = *b2;
  threshold = *b5;
  return true;
}

bool ParamFrames::mayBuild() const {
  return enabled_ && ctx_.portOpen && ctx_.portOpen();
}

void ParamFrames::store(int slot, BlockAddress address, const Block& payload) {
  const auto frame = buildFrame(ctx_.deviceId, kTypeWrite, 0, address.command, address.sub, payload);
  SendTable::Frame& buffer = ctx_.sendTable.frame(slot);
  std::copy(frame.begin(), frame.end(), buffer.begin());
  ctx_.sendTable.mark(slot);
}

void ParamFrames::build(int slot) {
  if (slot == kSystemFrameSlot) {
    buildSystem();
    return;
  }
  const auto block = blockOfSlot(slot);
  if (!block || !mayBuild()) return;
  store(slot, block->address, encodeBlock(ctx_.model, *block));
}

void ParamFrames::buildOutput(int output) {
  if (output >= 0 && output < kLevelOutputCount) build(1 + 3 * output);
  if (output == kMainOutput) buildMain();
}

void ParamFrames::buildCrossover(int output) {
  if (output >= 0 && output < kLevelOutputCount) build(2 + 3 * output);
  if (output == kMainOutput) build(36);
}

void ParamFrames::buildLimiter(int output) {
  if (output >= 0 && output < kLevelOutputCount) build(3 + 3 * output);
}

void ParamFrames::buildBand(int bandSlot) {
  if (bandSlot >= 0 && bandSlot < kBandSlotCount) build(bandFrameSlot(bandSlot));
}

void ParamFrames::buildMain() {
  build(28);
}

void ParamFrames::buildSystem() {
  if (!mayBuild()) return;
  ctx_.rxText.clear();
  store(kSystemFrameSlot, kSystemBlockAddress, ctx_.system.bytes());
  // Device number 0 has no wire address (0 - 1 would be the broadcast address), so the
  // target stays as it is then.
  const int number = ctx_.system.deviceNumber;
  if (ctx_.deviceId != kBroadcastAddress && number >= 1) {
    ctx_.deviceId = static_cast<uint8_t>(number - 1);
    if (ctx_.onRetarget) ctx_.onRetarget(number);
  }
}

}  // namespace audiodsp
