#pragma once

// The files a document leaves behind (images, the cheque log, XML files, the recovery folder), as
// one small interface, so that the rules for a file that cannot be written are tested against a
// disk that fails the way an office disk fails: a read-only folder, a full disk, a share gone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

class FileStore {
 public:
  virtual ~FileStore() = default;
  // The file's bytes; nothing when it cannot be read.
  virtual std::optional<std::string> Read(std::string_view path) = 0;
  // The file's size; nothing when it does not exist.
  virtual std::optional<uint64_t> Size(std::string_view path) = 0;
  // The file's last byte; nothing when it is empty or cannot be read.
  virtual std::optional<char> LastByte(std::string_view path) = 0;
  // Replaces the file's content; false when not all of it was written.
  virtual bool Write(std::string_view path, std::string_view bytes) = 0;
  // Adds the bytes at the end of the file, created when missing; false when not all of them were
  // written (some may have been).
  virtual bool Append(std::string_view path, std::string_view bytes) = 0;
  // Cuts the file back to the size.
  virtual bool Truncate(std::string_view path, uint64_t size) = 0;
  // True when the file is gone afterwards (also when it never existed).
  virtual bool Remove(std::string_view path) = 0;
  // Moves the file to the new name, replacing a file there when a rename can (the same volume).
  // All or nothing: when it fails, the file is still where it was and whatever was under the new
  // name is as it was.
  virtual bool Move(std::string_view from, std::string_view to) = 0;
  // Creates the folder part of the file name, when it has one.
  virtual void CreateFolderFor(std::string_view fileName) = 0;
};

// The disk as it is. A name longer than Windows takes (FitsWindowsNameLimits) is not written,
// moved to or made a folder for, in every build: under Wine and natively such a name fails as it
// fails on Windows, where the system refuses it.
class DiskFiles final : public FileStore {
 public:
  std::optional<std::string> Read(std::string_view path) override;
  std::optional<uint64_t> Size(std::string_view path) override;
  std::optional<char> LastByte(std::string_view path) override;
  bool Write(std::string_view path, std::string_view bytes) override;
  bool Append(std::string_view path, std::string_view bytes) override;
  bool Truncate(std::string_view path, uint64_t size) override;
  bool Remove(std::string_view path) override;
  bool Move(std::string_view from, std::string_view to) override;
  void CreateFolderFor(std::string_view fileName) override;
};

// True when the file exists and holds at least one byte.
bool HasContent(FileStore& files, std::string_view path);

// Appends a whole line or nothing: a failed append is cut back to the size before it, and a file
// whose last line was left without its line end (by an append that could not be cut back, or by
// another program) first gets one, so that the new line never continues a torn one.
bool AppendWhole(FileStore& files, std::string_view path, std::string_view bytes);

// The name itself when no file has it, else the first of "name (2).ext", "name (3).ext", ... that
// is free, so that an earlier file is never replaced.
std::string FreeFileName(FileStore& files, std::string_view name);

}  // namespace orvex
