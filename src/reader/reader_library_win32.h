#pragma once

// The reader library as the program finds it at run time: mtxmlmcr.dll from the program folder,
// else wherever Windows finds a library of that name.

#include <filesystem>
#include <memory>

#include "reader/reader_library.h"

namespace orvex {

// The folder of the running program.
std::filesystem::path ProgramFolder();

// Loads mtxmlmcr.dll from the folder first, then by its plain name, and binds its ten calls. A
// library that cannot be loaded, or lacks a call, is traced with its path and the reason, and
// yields a stand-in whose open fails.
std::unique_ptr<ReaderLibrary> LoadReaderLibrary(const std::filesystem::path& folder = ProgramFolder());

}  // namespace orvex
