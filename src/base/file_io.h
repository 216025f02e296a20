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

// Creates the folder and every missing folder above it. Never reports failure: a folder that
// cannot be made shows up when the file inside it is written.
void CreateFolderPath(std::string_view path) noexcept;

// Creates the folder part of a file name (the text before its last "\\" or "/"), if it has one.
void CreateFolderForFile(std::string_view fileName) noexcept;

}  // namespace orvex
