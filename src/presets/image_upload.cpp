#include "presets/image_upload.h"

#include "model/group_image.h"
#include "ui/main_form.h"

namespace audiodsp {

std::optional<ImageWrite> imageWriteFrame(std::string_view text, uint8_t address, int target) {
  const std::optional<GroupImage> image = imageFromText(text);
  if (!image) return std::nullopt;
  if (target == kCurrentGroupTarget) return groupWrite(address, *image);
  return blockWrite(address, static_cast<uint8_t>(target), *image);
}

void sendImageHeader(MainForm& form, int target) {
  if (!form.portOpen()) return;
  // The header does not depend on the image, which goes with the body.
  const GroupImage none{};
  const ImageWrite frame = target == kCurrentGroupTarget
                               ? groupWrite(form.deviceId, none)
                               : blockWrite(form.deviceId, static_cast<uint8_t>(target), none);
  form.link.txBuffer().clear();
  form.chain.writeNow(frame.header);
}

bool imageUpload(MainForm& form, std::string_view text, int target) {
  if (!form.portOpen()) return false;
  const std::optional<ImageWrite> frame = imageWriteFrame(text, form.deviceId, target);
  if (!frame) return false;
  form.chain.writeNow(frame->body);
  return true;
}

}  // namespace audiodsp
