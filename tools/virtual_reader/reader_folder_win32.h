#pragma once

// The virtual reader's folder: device.ini, the documents waiting in inbox\, the ones read in
// done\, and calls.log. It is the folder named by ORVEX_VIRTUAL_READER, else "virtual-reader"
// beside the library.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "virtual_documents.h"

namespace orvex::virtual_reader {

class ReaderFolder {
 public:
  // The folder as the environment names it now, with inbox\ and done\ made when missing.
  static ReaderFolder Current();

  DeviceSettings Device() const;
  // The documents of inbox\ in file-name order.
  std::vector<VirtualDocument> Waiting() const;
  // Moves the document's file to done\, replacing a file of that name there.
  void MarkRead(const VirtualDocument& document) const;
  size_t ReadCount() const;
  // The bytes of an image file named relative to the inbox, or nothing when it cannot be read.
  std::optional<std::string> ImageFile(std::string_view relativeUtf8) const;
  void LogCall(std::string_view line) const;

 private:
  explicit ReaderFolder(std::filesystem::path folder);

  std::filesystem::path folder_;
  std::filesystem::path inbox_;
  std::filesystem::path done_;
};

}  // namespace orvex::virtual_reader
