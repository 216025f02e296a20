#pragma once

// A program entry of the tray's run menu as the configured text means it: which program, with
// which arguments. The text is data: a path with blanks needs no quotes to mean itself, and no
// shorter path (a "C:\Program.exe" put there by someone else) is ever run in its place.

#include <functional>
#include <string>
#include <string_view>

namespace orvex {

struct ProgramCommand {
  std::string program;
  std::string arguments;

  bool operator==(const ProgramCommand&) const = default;
};

// A text that starts with a double quote: the quoted part is the program. Otherwise the longest
// start of the text that ends before a blank (or at the end) and names an existing file, as it
// stands or with ".exe", is the program; without such a file, the text up to its first blank (a
// program the system finds on its search path). What follows the program, blanks trimmed, is the
// arguments. `isFile` tells whether a path names an existing file.
ProgramCommand SplitProgramCommand(std::string_view text, const std::function<bool(std::string_view)>& isFile);

// The command line that starts it: the program in double quotes, a blank and the arguments.
std::string CommandLineOf(const ProgramCommand& command);

}  // namespace orvex
