#include "base/file_io.h"

#include <algorithm>
#include <fstream>

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

}  // namespace

bool WriteFileBytes(std::string_view utf8Path, std::string_view bytes) {
  return WriteWithMode(utf8Path, bytes, std::ios::trunc);
}

bool AppendFileBytes(std::string_view utf8Path, std::string_view bytes) {
  return WriteWithMode(utf8Path, bytes, std::ios::app);
}

}  // namespace orvex
