#include "presets/image_upload.h"

#include <gtest/gtest.h>

#include "model/group_image.h"

namespace audiodsp {
namespace {

std::string neutralText(uint8_t ownId) {
  const GroupImage image = neutralImage();
  return toHex(buildFrame(ownId, kTypeData, 0, kCmdCurrentGroup, 0, image));
}

struct UploadCase {
  uint8_t address;
  int target;
  const char* header;
  uint8_t check;
};

TEST(ImageUpload, HeaderAndCheckByteFollowTheTargetNotTheText) {
  const UploadCase cases[] = {{0, kCurrentGroupTarget,
                               "A5A5A500A1002800"
                               "0140",
                               0x3E},
                              {5, kCurrentGroupTarget,
                               "A5A5A505A1002800"
                               "0140",
                               0x3B},
                              {0, 3,
                               "A5A5A500A1032900"
                               "0140",
                               0x3C}};
  const GroupImage image = neutralImage();
  for (const UploadCase& c : cases) {
    SCOPED_TRACE(c.header);
    // The text's own ID (7) and check byte play no part.
    const auto frame = imageWriteFrame(neutralText(7), c.address, c.target);
    ASSERT_TRUE(frame);
    EXPECT_EQ(toHex(frame->header), c.header);
    ASSERT_EQ(frame->body.size(), 322u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), frame->body.begin()));
    EXPECT_EQ(frame->body[320], c.check);
    EXPECT_EQ(frame->body[321], 0xAA);
  }
}

TEST(ImageUpload, SendsBytesAsTheyStandInEitherCase) {
  std::string text = neutralText(0);
  text.replace(20, 2, "07");  // a value the editor would clamp
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const auto frame = imageWriteFrame(text, 0, kCurrentGroupTarget);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->body[0], 0x07);
  EXPECT_FALSE(imageWriteFrame(text.substr(0, 600), 0, kCurrentGroupTarget));
}

}  // namespace
}  // namespace audiodsp
