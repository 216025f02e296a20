#pragma once

// The virtual reader's folder: device.ini, the documents waiting in inbox\, the ones read in
// done\, and calls.log. It is the folder named by ORVEX_VIRTUAL_READER, else "virtual-reader"
// beside the library.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/handle_win32.h"
#include "virtual_documents.h"

namespace orvex::virtual_reader {

class ReaderFolder {
 public:
  // The folder as the environment names it now, with inbox\ and done\ made when missing. It is
  // kept while the environment names the same folder, so a poll costs no more than it must.
  static ReaderFolder& Current();

  // device.ini, read again when its modification time changes.
  DeviceSettings Device() const;
  // The documents of inbox\ in file-name order. The folder is read again only when its
  // modification time has changed (a document added, moved or removed) or is recent, so a poll
  // of a quiet inbox stays cheap.
  std::vector<VirtualDocument> Waiting() const;
  // Moves the document's file to done\, replacing a file of that name there; the next Waiting()
  // reads the inbox again.
  void MarkRead(const VirtualDocument& document) const;
  size_t ReadCount() const;
  // The bytes of an image file named relative to the inbox, or nothing when it cannot be read.
  std::optional<std::string> ImageFile(std::string_view relativeUtf8) const;
  // Appends the line to calls.log, kept open for appending and shared so it can be read, moved
  // or deleted meanwhile. A line that would take the log past 1 MiB goes into a new one, after the
  // old one has become calls.log.1 (replacing an older calls.log.1).
  void LogCall(std::string_view line);

 private:
  explicit ReaderFolder(std::filesystem::path folder);

  std::filesystem::path folder_;
  std::filesystem::path inbox_;
  std::filesystem::path done_;
  UniqueHandle callsLog_;
  mutable std::optional<uint64_t> deviceTime_;
  mutable std::optional<DeviceSettings> device_;
  mutable std::optional<uint64_t> inboxTime_;
  mutable std::vector<VirtualDocument> waiting_;
};

}  // namespace orvex::virtual_reader
