// Prints the key reference of the user guide (docs/user-guide.md) from the tables the program reads
// its configuration with: every [Config] key and every profile key, with its default and meaning.

#include <iostream>
#include <string>
#include <string_view>

#include "config/global_settings.h"
#include "config/profile_settings.h"

namespace {

using orvex::ProfileKeyType;

// What a key of the type takes, in the guide's words.
std::string_view ValuesOf(ProfileKeyType type) {
  switch (type) {
    case ProfileKeyType::Byte:
      return "0 to 255";
    case ProfileKeyType::Int16:
    case ProfileKeyType::Int32:
      return "whole number";
    case ProfileKeyType::Flag:
    case ProfileKeyType::ByteFlag:
      return "0 or 1";
    case ProfileKeyType::Boolean:
      return "TRUE or FALSE";
    case ProfileKeyType::IconFontSize:
      return "1 to 72";
    case ProfileKeyType::Text:
      break;
  }
  return "text";
}

// A table cell: "|" would end the cell.
std::string Cell(std::string_view text) {
  std::string cell;
  for (const char c : text) {
    if (c == '|') {
      cell += '\\';
    }
    cell += c;
  }
  return cell;
}

std::string Code(std::string_view text) {
  return text.empty() ? "(empty)" : "`" + Cell(text) + "`";
}

}  // namespace

int main() {
  std::cout << "### [Config]\n\n"
               "| Key | Default | Meaning |\n"
               "|---|---|---|\n";
  for (const orvex::ConfigKey& key : orvex::kConfigKeys) {
    std::cout << "| `" << key.key << "` | " << Code(key.defaultValue) << " | " << Cell(key.description) << " |\n";
  }
  std::cout << "\n### Profile keys\n\n"
               "| Key | Values | Default | Meaning |\n"
               "|---|---|---|---|\n";
  for (const orvex::ProfileKey& key : orvex::kProfileKeys) {
    std::cout << "| `" << key.key << "` | " << ValuesOf(key.type) << " | " << Code(key.defaultValue) << " | "
              << Cell(key.description) << " |\n";
  }
}
