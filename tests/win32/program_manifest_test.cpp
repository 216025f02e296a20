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

// What Windows reads from the manifest, one entry a row.
constexpr struct {
  const char* what;
  const char* entry;
} kEntries[] = {
    {"runs with its invoker's rights", "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"},
    {"supports Windows 10 and 11", "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"},
    {"supports Windows 8.1", "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"},
    {"supports Windows 7", "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"},
    {"uses Common Controls 6", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""},
    {"is per-monitor v2 aware, per-monitor before it", ">PerMonitorV2, PerMonitor</dpiAwareness>"},
    {"is per-monitor aware where dpiAwareness is not read", ">true/pm</dpiAware>"},
    {"takes long paths", ">true</longPathAware>"},
};

TEST(ProgramManifest, BothArchitecturesCarryEveryEntry) {
  // From the tests' working folder, build/win64/tests.
  for (const char* program : {"..\\OrvexExcella.exe", "..\\..\\win32\\OrvexExcella.exe"}) {
    SCOPED_TRACE(program);
    if (!std::filesystem::exists(program)) {
      GTEST_SKIP() << program << " is not built";
    }
    const std::string manifest = ManifestOf(program);
    for (const auto& row : kEntries) {
      EXPECT_NE(manifest.find(row.entry), std::string::npos) << row.what;
    }
  }
}

}  // namespace
}  // namespace orvex
