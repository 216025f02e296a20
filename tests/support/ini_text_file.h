#pragma once

// Writes a configuration file for a test from readable text.

#include <string>
#include <string_view>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "support/temp_folder.h"

namespace orvex::test_support {

// Writes UTF-8 text as a Windows-1255 file with CR LF line ends (each LF of the text ends a line)
// and returns its path.
inline std::string WriteIniFile(const TempFolder& folder, const std::string& name, std::string_view utf8Text) {
  std::string text;
  for (const char c : utf8Text) {
    if (c == '\n') {
      text += '\r';
    }
    text += c;
  }
  const std::string path = folder.File(name);
  WriteFileBytes(path, Utf8ToWindows1255(text));
  return path;
}

}  // namespace orvex::test_support
