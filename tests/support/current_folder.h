#pragma once

// Makes a folder the current folder for as long as it lives, as start-up makes the program folder
// current: relative names in the configuration resolve against it.

#include <filesystem>

namespace orvex::test_support {

class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(previous_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace orvex::test_support
