#pragma once

// Names of a chosen length in UTF-16 units, the unit Windows counts a name's length in.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/text_codec.h"

namespace orvex::test_support {

// The UTF-16 length of the current folder with the separator after it: what a relative name is
// added to.
inline size_t FolderUnits() {
  const std::u8string folder = std::filesystem::current_path().u8string();
  return Utf8ToUtf16(std::string(folder.begin(), folder.end())).size() + 1;
}

// A relative name of `units` UTF-16 units: `letter` (one unit, in UTF-8) in components of up to 250
// letters, so that a name of up to 250 units lies in the current folder itself.
inline std::string NameOfUnits(size_t units, std::string_view letter = "a") {
  std::string name;
  for (size_t inComponent = 0; units > 0; --units) {
    if (inComponent == 250 && units > 1) {
      name += '\\';
      inComponent = 0;
    } else {
      name += letter;
      ++inComponent;
    }
  }
  return name;
}

}  // namespace orvex::test_support
