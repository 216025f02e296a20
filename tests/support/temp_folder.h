#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/file_io.h"
#include "base/text_codec.h"

namespace orvex::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("orvex-test-" + std::to_string(counter++));
      if (std::filesystem::create_directory(path_)) {
        break;
      }
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The UTF-8 path of a file in the folder.
  std::string PathOf(std::string_view name) const {
    const std::u8string folder = path_.u8string();
    return std::string(folder.begin(), folder.end()) + "/" + std::string(name);
  }

  // Writes UTF-8 text as a Windows-1255 file with CR LF line ends (LF in the text marks a line end).
  std::string WriteIni(std::string_view name, std::string_view utf8Text) const {
    std::string text;
    for (const char c : utf8Text) {
      if (c == '\n') {
        text += '\r';
      }
      text += c;
    }
    const std::string path = PathOf(name);
    WriteFileBytes(path, Utf8ToWindows1255(text));
    return path;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace orvex::testing
