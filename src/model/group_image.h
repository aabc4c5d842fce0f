#pragma once
// The 320-byte parameter image of one group: 40 blocks of 8 bytes, 16-bit fields low byte
// first. High, Mid and Low take 9 blocks each (output, crossover, limiter, six bands) at
// 0, 72 and 144; Main takes 8 blocks at 216 (main, crossover, six bands); 280..319 is a
// reserved tail that the program only carries.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/param_model.h"
#include "protocol/frame_codec.h"

namespace audiodsp {

using GroupImage = std::array<uint8_t, kImageSize>;
using Block = std::array<uint8_t, 8>;

inline constexpr size_t kBlockSize = 8;
inline constexpr size_t kMainBlockOffset = 216;
inline constexpr size_t kReservedTailOffset = 280;
inline constexpr size_t kDecodedImageBytes = 279;  // decoding reads image bytes 0..278

// The two frame bytes (command, sub-address) that address one block.
struct BlockAddress {
  uint8_t command = 0;
  uint8_t sub = 0;
  bool operator==(const BlockAddress&) const = default;
};

enum class BlockKind { Output, Crossover, Limiter, EqBand, Main };

// One addressable block of the image. `index` is the output for output, crossover and
// limiter blocks, the BandSlot for band blocks, and 3 for the main block.
struct ImageBlock {
  BlockKind kind;
  int index;
  size_t offset;
  BlockAddress address;
  int slot;  // send-table slot of its parameter frame
};

// The 35 addressable blocks, in image order.
const std::array<ImageBlock, 35>& imageBlocks();
std::optional<ImageBlock> blockOfSlot(int slot);
std::optional<ImageBlock> blockAtAddress(BlockAddress address);
// Send-table slot of the band frame of BandSlot s: 10 + s for High, Mid, Low; 30 + (s - 18) for Main.
int bandFrameSlot(int bandSlot);

// The block's 8 bytes from the model; unnamed bytes are 0.
Block encodeBlock(const ParamModel& model, const ImageBlock& block);
// Every block from the model; the reserved tail is 0.
GroupImage encodeImage(const ParamModel& model);

// Image bytes 0..278 into a fresh model, then the range clamps.
ParamModel decodeImage(std::span<const uint8_t, kImageSize> image);
// The same from the hex text of a whole 332-byte group frame (either case). nullopt when
// the text is too short or a byte it reads is not hex.
std::optional<ParamModel> decodeImageText(std::string_view text);
// Image bytes 0..319 of such a text as they stand, for writing an image to the device
// unchanged; nullopt when the text is too short or not hex there.
std::optional<GroupImage> imageFromText(std::string_view text);

// The image a device holds before anything has been set: outputs at 0.0 dB, sounding,
// filters open, limiters at 0 dBu, every band flat at 19.7 Hz, master volume 0.0 dB.
GroupImage neutralImage();

}  // namespace audiodsp
