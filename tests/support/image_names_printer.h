#pragma once

// How a test failure shows a document's image names.

#include <ostream>

#include "interpret/document_processors.h"

namespace orvex {

inline void PrintTo(const ImageNames& names, std::ostream* out) {
  *out << "{front \"" << names.front << "\", back \"" << names.back << "\"}";
}

}  // namespace orvex
