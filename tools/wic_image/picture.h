#pragma once

// A picture in memory, as the image tools pass it between decoding, drawing and encoding: rows of
// 24-bit blue-green-red pixels, top row first, with no padding between rows.

#include <cstdint>
#include <vector>

namespace orvex::images {

struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3 bytes

  static constexpr uint32_t kBytesPerPixel = 3;
  uint32_t Stride() const { return width * kBytesPerPixel; }
};

// A white picture of that size.
Picture WhitePicture(uint32_t width, uint32_t height);

// The top picture above the bottom one, left-aligned on a white ground as wide as the wider.
Picture StackVertically(const Picture& top, const Picture& bottom);

}  // namespace orvex::images
