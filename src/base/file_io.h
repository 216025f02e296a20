#pragma once

// Whole-file reads and writes by UTF-8 path. Paths may use backslashes, as the configuration
// writes them; the native build maps them to its own separator.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

std::filesystem::path ToFsPath(std::string_view utf8Path);

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(std::string_view utf8Path);

// Replaces the file's content; false when it cannot be written.
bool WriteFileBytes(std::string_view utf8Path, std::string_view bytes);

// Adds the bytes at the end of the file, creating it when missing; false when it cannot be
// written (for example while another program holds it open without sharing writes).
bool AppendFileBytes(std::string_view utf8Path, std::string_view bytes);

}  // namespace orvex
