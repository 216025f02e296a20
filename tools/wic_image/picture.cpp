#include "picture.h"

#include <algorithm>

namespace orvex::images {
namespace {

constexpr uint8_t kWhite = 0xFF;

// Copies the picture into the canvas with its top row at the given row.
void Paste(const Picture& picture, Picture& canvas, uint32_t topRow) {
  for (uint32_t row = 0; row < picture.height; ++row) {
    const auto source = picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * picture.Stride();
    std::copy_n(source, picture.Stride(),
                canvas.pixels.begin() + static_cast<std::ptrdiff_t>(topRow + row) * canvas.Stride());
  }
}

}  // namespace

Picture WhitePicture(uint32_t width, uint32_t height) {
  return Picture{.width = width,
                 .height = height,
                 .pixels = std::vector<uint8_t>(size_t{width} * height * Picture::kBytesPerPixel, kWhite)};
}

Picture StackVertically(const Picture& top, const Picture& bottom) {
  Picture canvas = WhitePicture(std::max(top.width, bottom.width), top.height + bottom.height);
  Paste(top, canvas, 0);
  Paste(bottom, canvas, top.height);
  return canvas;
}

}  // namespace orvex::images
