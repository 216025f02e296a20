#include "app/program_command.h"

#include <vector>

#include "base/text.h"

namespace orvex {
namespace {

std::string Trimmed(std::string_view text) {
  return std::string(TrimBlanks(text));
}

}  // namespace

ProgramCommand SplitProgramCommand(std::string_view text, const std::function<bool(std::string_view)>& isFile) {
  text = TrimBlanks(text);
  if (text.starts_with('"')) {
    const size_t close = text.find('"', 1);
    if (close != std::string_view::npos) {
      return {std::string(text.substr(1, close - 1)), Trimmed(text.substr(close + 1))};
    }
    return {std::string(text.substr(1)), ""};
  }
  // Every start of the text that ends before a blank, the longest first.
  std::vector<size_t> ends{text.size()};
  for (size_t blank = text.rfind(' '); blank != std::string_view::npos && blank > 0; blank = text.rfind(' ', blank - 1)) {
    ends.push_back(blank);
  }
  for (const size_t end : ends) {
    const std::string candidate = Trimmed(text.substr(0, end));
    for (const std::string& name : {candidate, candidate + ".exe"}) {
      if (isFile(name)) {
        return {name, Trimmed(text.substr(end))};
      }
    }
  }
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) {
    return {std::string(text), ""};
  }
  return {std::string(text.substr(0, blank)), Trimmed(text.substr(blank))};
}

std::string CommandLineOf(const ProgramCommand& command) {
  std::string line = "\"" + command.program + "\"";
  if (!command.arguments.empty()) {
    line += " " + command.arguments;
  }
  return line;
}

}  // namespace orvex
