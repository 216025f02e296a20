#pragma once

// Start-up's own texts: the first trace line of every run and the message E2.

#include <string>
#include <string_view>

#include "base/message_box.h"

namespace orvex {

// "Starting " + the program file's name without extension + " ver. " + major.minor.revision.
std::string StartingLine(std::string_view programFileName, int major, int minor, int revision);

// E2: the bank-branch table was not found. Yes and No; the answer is not used.
Message BanksBranchesMissingMessage();

}  // namespace orvex
