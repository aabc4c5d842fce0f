#include "model/group_image.h"

#include <algorithm>

namespace audiodsp {

namespace {

constexpr size_t kOutputStride = 72;  // nine blocks per level output

std::array<ImageBlock, 35> makeBlocks() {
  std::array<ImageBlock, 35> blocks{};
  size_t n = 0;
  for (int o = 0; o < kLevelOutputCount; ++o) {
    const size_t base = static_cast<size_t>(o) * kOutputStride;
    const auto cmd = static_cast<uint8_t>(o);
    blocks[n++] = {BlockKind::Output, o, base, {cmd, 0}, 1 + 3 * o};
    blocks[n++] = {BlockKind::Crossover, o, base + 8, {cmd, 1}, 2 + 3 * o};
    blocks[n++] = {BlockKind::Limiter, o, base + 16, {cmd, 2}, 3 + 3 * o};
    for (int b = 0; b < kBandsPerOutput; ++b) {
      const int s = bandSlotOf(o, b);
      blocks[n++] = {BlockKind::EqBand,
                     s,
                     base + 24 + 8 * static_cast<size_t>(b),
                     {cmd, static_cast<uint8_t>(3 + b)},
                     bandFrameSlot(s)};
    }
  }
  // Main has no output or limiter block; its blocks take one command byte each.
  blocks[n++] = {BlockKind::Main, kMainOutput, kMainBlockOffset, {3, 0}, 28};
  blocks[n++] = {BlockKind::Crossover, kMainOutput, kMainBlockOffset + 8, {4, 0}, 36};
  for (int b = 0; b < kBandsPerOutput; ++b) {
    const int s = bandSlotOf(kMainOutput, b);
    blocks[n++] = {BlockKind::EqBand,
                   s,
                   kMainBlockOffset + 16 + 8 * static_cast<size_t>(b),
                   {static_cast<uint8_t>(5 + b), 0},
                   bandFrameSlot(s)};
  }
  return blocks;
}

// A model field into its byte(s). Values held by the model fit their fields; anything
// else saturates rather than wrapping into an unrelated value.
uint8_t u8(int v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 0xFF));
}
void putU16(Block& b, size_t at, int v) {
  const int w = std::clamp(v, 0, 0xFFFF);
  b[at] = static_cast<uint8_t>(w & 0xFF);
  b[at + 1] = static_cast<uint8_t>(w >> 8);
}

int u16At(std::span<const uint8_t> image, size_t at) {
  return image[at] | image[at + 1] << 8;
}

}  // namespace

const std::array<ImageBlock, 35>& imageBlocks() {
  static const std::array<ImageBlock, 35> blocks = makeBlocks();
  return blocks;
}

std::optional<ImageBlock> blockOfSlot(int slot) {
  for (const auto& b : imageBlocks())
    if (b.slot == slot) return b;
  return std::nullopt;
}

std::optional<ImageBlock> blockAtAddress(BlockAddress address) {
  for (const auto& b : imageBlocks())
    if (b.address == address) return b;
  return std::nullopt;
}

int bandFrameSlot(int bandSlot) {
  return bandSlot < 18 ? 10 + bandSlot : 30 + (bandSlot - 18);
}

Block encodeBlock(const ParamModel& m, const ImageBlock& block) {
  Block b{};
  const int i = block.index;
  switch (block.kind) {
    case BlockKind::Output:
      b[0] = u8(m.gain[i]);
      b[1] = u8(m.on[i]);
      putU16(b, 2, m.delay[i]);
      b[4] = u8(m.polarity[i]);
      break;
    case BlockKind::Crossover: {
      const Crossover& x = m.crossover[i];
      b[0] = u8(x.hpfFreq);
      b[1] = u8(x.hpfSlope);
      b[4] = u8(x.lpfFreq);
      b[5] = u8(x.lpfSlope);
      break;
    }
    case BlockKind::Limiter:
      b[0] = u8(m.limiterThreshold[i]);
      b[1] = u8(m.limiterAttack[i]);
      b[2] = u8(m.limiterRelease[i]);
      break;
    case BlockKind::EqBand: {
      const EqBand& e = m.band[i];
      b[0] = u8(e.freq);
      b[1] = u8(e.type);
      putU16(b, 2, e.peqGain);
      putU16(b, 4, e.shelfGain);
      b[6] = u8(e.q);
      break;
    }
    case BlockKind::Main:
      b[0] = u8(m.recoup);
      putU16(b, 2, m.masterVolume);
      putU16(b, 4, m.delay[kMainOutput]);
      b[6] = u8(m.polarity[kMainOutput]);
      b[7] = u8(m.btl);
      break;
  }
  return b;
}

GroupImage encodeImage(const ParamModel& model) {
  GroupImage image{};
  for (const auto& block : imageBlocks()) {
    const Block b = encodeBlock(model, block);
    std::copy(b.begin(), b.end(), image.begin() + static_cast<std::ptrdiff_t>(block.offset));
  }
  return image;
}

ParamModel decodeImage(std::span<const uint8_t, kImageSize> image) {
  ParamModel m;
  for (const auto& block : imageBlocks()) {
    const auto b = image.subspan(block.offset, kBlockSize);
    const int i = block.index;
    switch (block.kind) {
      case BlockKind::Output:
        m.gain[i] = std::min<int>(b[0], m.maxGainIndex(i));
        m.on[i] = b[1];
        m.delay[i] = u16At(b, 2);
        m.polarity[i] = b[4];
        break;
      case BlockKind::Crossover:
        m.crossover[i] = {std::min<int>(b[0], kFreqMaxIndex), std::min<int>(b[1], kSlopeMaxIndex),
                          std::min<int>(b[4], kFreqMaxIndex), std::min<int>(b[5], kSlopeMaxIndex)};
        break;
      case BlockKind::Limiter:
        m.limiterThreshold[i] = b[0];
        m.limiterAttack[i] = b[1];
        m.limiterRelease[i] = b[2];
        break;
      case BlockKind::EqBand:
        m.band[i] = {std::min<int>(b[0], kFreqMaxIndex), std::min<int>(b[1], 2),
                     std::min(u16At(b, 2), kGainMaxIndex), std::min(u16At(b, 4), kGainMaxIndex),
                     std::min<int>(b[6], kQMaxIndex)};
        break;
      case BlockKind::Main:
        m.recoup = b[0];
        m.masterVolume = u16At(b, 2);
        m.delay[kMainOutput] = u16At(b, 4);
        m.polarity[kMainOutput] = b[6];
        m.btl = b[7];
        break;
    }
  }
  return m;
}

namespace {

// Image bytes [0, count) of a group frame's hex text, the rest left 0.
std::optional<GroupImage> imageBytes(std::string_view text, size_t count) {
  GroupImage image{};
  for (size_t k = 0; k < count; ++k) {
    const auto b = hexByteAt(text, kDataOffset + k);
    if (!b) return std::nullopt;
    image[k] = *b;
  }
  return image;
}

}  // namespace

std::optional<ParamModel> decodeImageText(std::string_view text) {
  const auto image = imageBytes(text, kDecodedImageBytes);
  if (!image) return std::nullopt;
  return decodeImage(*image);
}

std::optional<GroupImage> imageFromText(std::string_view text) {
  return imageBytes(text, kImageSize);
}

GroupImage neutralImage() {
  ParamModel m;
  m.gain.fill(kLevelZeroIndex);
  m.limiterThreshold.fill(19);  // 0 dBu
  for (EqBand& b : m.band) b.freq = 0;
  m.masterVolume = kMasterVolumeMax;
  return encodeImage(m);
}

}  // namespace audiodsp
