// The application manifest built into OrvexExcella.exe of both architectures, read as data: the
// 32-bit program cannot run here, but its resources can be read from a 64-bit process.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/handle_win32.h"

namespace orvex {
namespace {

// The text of the program's manifest resource; empty when the file or the resource is missing.
std::string ManifestOf(const std::filesystem::path& program) {
  const HMODULE module =
      LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) {
    return "";
  }
  const UniqueModule owner(module);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  if (!loaded) {
    return "";
  }
  return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
}

TEST(ProgramManifest, BothArchitecturesRunAsTheirInvoker) {
  // From the tests' working folder, build/win64/tests.
  for (const char* program : {"..\\OrvexExcella.exe", "..\\..\\win32\\OrvexExcella.exe"}) {
    SCOPED_TRACE(program);
    if (!std::filesystem::exists(program)) {
      GTEST_SKIP() << program << " is not built";
    }
    const std::string manifest = ManifestOf(program);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
        << manifest;
  }
}

}  // namespace
}  // namespace orvex
