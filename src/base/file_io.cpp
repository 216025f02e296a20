#include "base/file_io.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace orvex {

std::filesystem::path ToFsPath(std::string_view utf8Path) {
  std::u8string text(utf8Path.begin(), utf8Path.end());
#ifndef _WIN32
  std::replace(text.begin(), text.end(), u8'\\', u8'/');
#endif
  return std::filesystem::path(text);
}

std::optional<std::string> ReadFileBytes(std::string_view utf8Path) {
  std::ifstream in(ToFsPath(utf8Path), std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string bytes;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
  }
  return bytes;
}

namespace {

bool WriteWithMode(std::string_view utf8Path, std::string_view bytes, std::ios::openmode mode) {
  std::ofstream out(ToFsPath(utf8Path), std::ios::binary | mode);
  if (!out) {
    return false;
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

size_t LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

// False only when the folder above does not exist.
bool TryCreateFolder(std::string_view path) {
  std::error_code error;
  std::filesystem::create_directory(ToFsPath(path), error);
  return error != std::errc::no_such_file_or_directory;
}

}  // namespace

bool WriteFileBytes(std::string_view utf8Path, std::string_view bytes) {
  return WriteWithMode(utf8Path, bytes, std::ios::trunc);
}

bool AppendFileBytes(std::string_view utf8Path, std::string_view bytes) {
  return WriteWithMode(utf8Path, bytes, std::ios::app);
}

void CreateFolderPath(std::string_view path) noexcept {
  try {
    if (!path.empty() && path.back() == '\\') {
      path.remove_suffix(1);
    }
    if (path.empty() || TryCreateFolder(path)) {
      return;
    }
    const size_t separator = LastSeparator(path);
    if (separator == std::string_view::npos) {
      return;
    }
    CreateFolderPath(path.substr(0, separator));
    TryCreateFolder(path);
  } catch (...) {
    // Out of memory while building a path: the write of the file reports it.
  }
}

void CreateFolderForFile(std::string_view fileName) noexcept {
  const size_t separator = LastSeparator(fileName);
  if (separator != std::string_view::npos) {
    CreateFolderPath(fileName.substr(0, separator));
  }
}

}  // namespace orvex
