#pragma once

// The local date and time at which a file was last written, as the operator's clock shows it.

#include <optional>
#include <string_view>

#include "base/clock.h"

namespace orvex {

// Nothing when the file does not exist or its time cannot be read.
std::optional<LocalDateTime> FileModifiedTime(std::string_view utf8Path);

}  // namespace orvex
