#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace orvex::test_support {

class TempFolder {
 public:
  TempFolder() {
    // Test programs run side by side: a random part keeps their folders apart.
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("orvex-test-" + std::to_string(run) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // A path inside the folder, as UTF-8 text.
  std::string File(const std::string& name) const {
    const std::u8string text = (path_ / std::filesystem::path(std::u8string(name.begin(), name.end()))).u8string();
    return std::string(text.begin(), text.end());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace orvex::test_support
