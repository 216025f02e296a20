#pragma once

// Pictures to and from image files through the Windows Imaging Component.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "picture.h"

namespace orvex::images {

// COM for the calling thread while it lives; a thread that already has COM keeps it as it is.
class ComInitialization {
 public:
  ComInitialization();
  ~ComInitialization();
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;

 private:
  bool initialized_;
};

// The first frame of an image file's bytes (any format WIC decodes), or nothing when they cannot
// be decoded. COM must be initialised.
std::optional<Picture> DecodePicture(std::string_view fileBytes);

// The picture as a JPEG file's bytes, or nothing when it cannot be encoded. COM must be initialised.
std::optional<std::string> EncodeJpeg(const Picture& picture);

}  // namespace orvex::images
