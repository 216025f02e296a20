#include "base/file_store.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/file_io.h"
#include "base/file_name_rules.h"

namespace orvex {
namespace fs = std::filesystem;

std::optional<std::string> DiskFiles::Read(std::string_view path) {
  return ReadFileBytes(path);
}

std::optional<uint64_t> DiskFiles::Size(std::string_view path) {
  std::error_code error;
  const uintmax_t size = fs::file_size(ToFsPath(path), error);
  if (error) {
    return std::nullopt;
  }
  return size;
}

std::optional<char> DiskFiles::LastByte(std::string_view path) {
  std::ifstream in(ToFsPath(path), std::ios::binary | std::ios::ate);
  if (!in || in.tellg() <= 0) {
    return std::nullopt;
  }
  in.seekg(-1, std::ios::end);
  char last = 0;
  if (!in.get(last)) {
    return std::nullopt;
  }
  return last;
}

bool DiskFiles::Write(std::string_view path, std::string_view bytes) {
  return FitsWindowsNameLimits(path) && WriteFileBytes(path, bytes);
}

bool DiskFiles::Append(std::string_view path, std::string_view bytes) {
  return FitsWindowsNameLimits(path) && AppendFileBytes(path, bytes);
}

bool DiskFiles::Truncate(std::string_view path, uint64_t size) {
  std::error_code error;
  fs::resize_file(ToFsPath(path), size, error);
  return !error;
}

bool DiskFiles::Remove(std::string_view path) {
  std::error_code error;
  fs::remove(ToFsPath(path), error);
  return !error;
}

bool DiskFiles::Move(std::string_view from, std::string_view to) {
  if (!FitsWindowsNameLimits(to)) {
    return false;
  }
  const fs::path source = ToFsPath(from);
  const fs::path target = ToFsPath(to);
  std::error_code error;
  fs::rename(source, target, error);
  if (!error) {
    return true;
  }
  // Another volume, or a source that another program keeps from being renamed: a copy under a
  // free name, the source removed only once the copy is whole, and a copy whose source stays taken
  // back. An earlier file under the name is never replaced this way, since a copy cannot be undone
  // over it: the move fails and the caller keeps the file elsewhere.
  if (fs::exists(target, error) || !fs::copy_file(source, target, error) || error) {
    return false;
  }
  if (fs::remove(source, error) && !error) {
    return true;
  }
  fs::remove(target, error);
  return false;
}

void DiskFiles::CreateFolderFor(std::string_view fileName) {
  if (FitsWindowsNameLimits(fileName)) {
    CreateFolderForFile(fileName);
  }
}

bool HasContent(FileStore& files, std::string_view path) {
  return files.Size(path).value_or(0) > 0;
}

bool AppendWhole(FileStore& files, std::string_view path, std::string_view bytes) {
  const uint64_t before = files.Size(path).value_or(0);
  const bool lineOpen = before > 0 && files.LastByte(path).value_or('\n') != '\n';
  const std::string whole = lineOpen ? "\r\n" + std::string(bytes) : std::string(bytes);
  if (files.Append(path, whole)) {
    return true;
  }
  if (files.Size(path).value_or(0) > before) {
    files.Truncate(path, before);
  }
  return false;
}

std::string FreeFileName(FileStore& files, std::string_view name) {
  if (!files.Size(name)) {
    return std::string(name);
  }
  const size_t fileStart = name.find_last_of("\\/") + 1;  // 0 when the name has no folder
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < fileStart) {
    dot = name.size();
  }
  for (int number = 2;; ++number) {
    std::string candidate =
        std::string(name.substr(0, dot)) + " (" + std::to_string(number) + ")" + std::string(name.substr(dot));
    if (!files.Size(candidate)) {
      return candidate;
    }
  }
}

}  // namespace orvex
