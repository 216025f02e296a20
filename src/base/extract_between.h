#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

enum class CompareMode : int32_t {
  kExact = 0,
  kIgnoreCase = 1,  // Latin letters only; other characters compare exactly
};

// The text between the first startMarker found at or after position start (counted from 1) and
// the first endMarker after it; "" when either marker is missing or start lies beyond the text.
// A start below 1 raises Error 5.
std::string ExtractBetween(int32_t start, std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, CompareMode mode = CompareMode::kExact);

}  // namespace orvex
