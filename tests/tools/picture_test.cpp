#include "picture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvex::images {
namespace {

Picture Filled(uint32_t width, uint32_t height, uint8_t value) {
  Picture picture = WhitePicture(width, height);
  std::ranges::fill(picture.pixels, value);
  return picture;
}

uint8_t At(const Picture& picture, uint32_t x, uint32_t y) {
  return picture.pixels[y * picture.Stride() + x * 3];
}

TEST(StackVertically, TheTopAboveTheBottomOnAWhiteGroundAsWideAsTheWider) {
  const struct { uint32_t topWidth, bottomWidth; } cases[] = {{4, 2}, {2, 4}, {3, 3}};
  for (const auto& c : cases) {
    const Picture stacked = StackVertically(Filled(c.topWidth, 2, 10), Filled(c.bottomWidth, 3, 20));
    const uint32_t width = std::max(c.topWidth, c.bottomWidth);
    ASSERT_EQ(stacked.width, width);
    ASSERT_EQ(stacked.height, 5u);
    ASSERT_EQ(stacked.pixels.size(), width * 5u * 3u);
    for (uint32_t y = 0; y < 5; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        const bool top = y < 2;
        const bool inside = x < (top ? c.topWidth : c.bottomWidth);
        EXPECT_EQ(At(stacked, x, y), inside ? (top ? 10 : 20) : 0xFF) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace orvex::images
