#pragma once
// Writing a whole group image to the device, as its current group or into a stored slot. The image
// comes as the hex text of a group frame (a PC file or another device's reply) and goes out as it
// stands: it is never decoded on the way, so every byte of the text reaches the device, reserved
// bytes and out-of-range values included.
//
// The 332-byte write leaves in two pieces: the caller writes the 10-byte header, pauses while the
// window keeps running, then writes the 322-byte body (image, check byte, AA).
#include <cstdint>
#include <optional>
#include <string_view>

#include "protocol/frame_codec.h"

namespace audiodsp {

class MainForm;

// Where an image goes: 0 the current group, 1..20 a stored slot.
inline constexpr int kCurrentGroupTarget = 0;

// The write frame of the text's image (characters 20..659, either case) to `target` at `address`;
// nullopt when the text is too short or not hex there.
std::optional<ImageWrite> imageWriteFrame(std::string_view text, uint8_t address, int target);

// Empties TxBuffer and writes the header of the image write to `target` at once.
void sendImageHeader(MainForm& form, int target);
// ImageUpload: writes the body of the image write at once. False when nothing was written (no
// port, or a text that holds no image).
bool imageUpload(MainForm& form, std::string_view text, int target);

}  // namespace audiodsp
