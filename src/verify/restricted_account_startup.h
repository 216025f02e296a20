#pragma once

// Start-up's two checks of the restricted-account sources of the start profile: whether the local
// list files are recent, and whether the web source answers at all.

#include <string>

#include "base/clock.h"
#include "base/message_box.h"
#include "verify/web_client.h"

namespace orvex {

// Warns when the list files are more than a week old: the first "ACC*.TXT" file of the folder (in
// name order, letter case ignored) was last written more than 7 calendar days before today, or the
// folder holds none, or its date cannot be read. Nothing when the profile names no folder.
void CheckAccountListAge(const std::string& accountListPath, const Clock& clock, MessageBoxes& messageBoxes);

enum class WebSourceCheck {
  kAnswered,     // or no web source is configured: start-up goes on
  kUnreachable,  // the operator has been told that the program cannot run: start-up ends the program
};

// Fetches the configured address once; a failure or an empty answer shows the error that the
// program cannot run without its web source.
WebSourceCheck CheckWebSourceConnection(const std::string& limitedAccountUrl, WebClient& web,
                                        MessageBoxes& messageBoxes);

}  // namespace orvex
