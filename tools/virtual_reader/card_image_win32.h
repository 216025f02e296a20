#pragma once

// Card images the virtual reader draws for documents that name no image file.

#include <optional>
#include <string>

#include "virtual_documents.h"

namespace orvex::virtual_reader {

// The card drawn with GDI and encoded as JPEG; nothing when drawing or encoding fails.
// COM must be initialised.
std::optional<std::string> DrawCardJpeg(const CardPicture& card);

}  // namespace orvex::virtual_reader
