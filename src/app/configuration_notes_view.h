#pragma once

// How the details window shows the configuration notes: a link with their count, which opens them
// in a box.

#include <string>
#include <vector>

#include "base/message_box.h"

namespace orvex {

// "הערות תצורה: " and the count (configuration notes: N).
std::string ConfigurationNotesLinkText(size_t count);

// The notes, one a line, in an information box.
Message ConfigurationNotesMessage(const std::vector<std::string>& notes);

}  // namespace orvex
