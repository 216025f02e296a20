// libFuzzer target: cInifile on arbitrary file bytes. Every read and list must work, and a value
// written must read back unchanged while every other section keeps its value.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "base/file_io.h"
#include "config/ini_file.h"

namespace {

constexpr size_t kProbedSections = 4;
constexpr size_t kProbedKeys = 4;

// The file every input goes through: in memory (/dev/shm) where the system has it, since a file on
// disk holds the run to a few hundred inputs a second. One per process, so parallel jobs never meet.
const std::string& FuzzFile() {
  static const std::string path = [] {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    return (folder / ("orvex-ini-fuzz-" + std::to_string(getpid()) + ".ini")).string();
  }();
  return path;
}

std::string Read(orvex::cInifile& ini, const std::string& section, const std::string& key) {
  ini.SetSection(section);
  ini.SetKey(key);
  ini.SetDefault("\x01missing");
  return ini.Value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!orvex::WriteFileBytes(FuzzFile(), std::string(reinterpret_cast<const char*>(data), size))) {
    return 0;
  }
  orvex::cInifile ini;
  ini.SetPath(FuzzFile());
  const orvex::NumberedList sections = ini.EnumerateAllSections();
  std::string firstKeyValue;
  std::string firstSection;
  // Every read parses the file anew: a few sections and keys of each input are read, so that a
  // run tries many inputs rather than every key of a few.
  size_t sectionsLeft = kProbedSections;
  for (const std::string& section : sections) {
    if (sectionsLeft-- == 0) {
      break;
    }
    ini.SetSection(section);
    size_t keysLeft = kProbedKeys;
    for (const std::string& key : ini.EnumerateCurrentSection()) {
      if (keysLeft-- == 0) {
        break;
      }
      const bool isWrittenSection = section.size() == 2 && (section[0] | 0x20) == 'f' && (section[1] | 0x20) == 'z';
      if (firstSection.empty() && !isWrittenSection) {
        firstSection = section;
        firstKeyValue = key + "\n" + Read(ini, section, key);
      }
      if (Read(ini, section, key).size() > 4 * orvex::cInifile::kMaxValueLength) {
        __builtin_trap();  // a value is cut to 254 characters
      }
    }
  }

  ini.SetSection("Fz");
  ini.SetKey("K");
  ini.SetValue(std::string_view("written value"));
  if (!ini.Success() || Read(ini, "Fz", "K") != "written value") {
    __builtin_trap();
  }
  if (!firstSection.empty()) {
    const std::string key = firstKeyValue.substr(0, firstKeyValue.find('\n'));
    if (key + "\n" + Read(ini, firstSection, key) != firstKeyValue) {
      __builtin_trap();  // the write changed another section
    }
  }
  return 0;
}
