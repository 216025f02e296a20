#include "reader_folder_win32.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/file_io.h"
#include "base/system_win32.h"
#include "base/wide_win32.h"

namespace orvex::virtual_reader {
namespace {

namespace fs = std::filesystem;

// The folder of this library (not of the program that loaded it).
fs::path LibraryFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&LibraryFolder), &self);
  return fs::path(ModulePath(self)).parent_path();
}

std::optional<std::string> FileBytes(const fs::path& path) {
  return ReadFileBytes(FromWide(path.wstring()));
}

}  // namespace

ReaderFolder ReaderFolder::Current() {
  const std::wstring named = EnvironmentVariable(L"ORVEX_VIRTUAL_READER");
  return ReaderFolder(named.empty() ? LibraryFolder() / L"virtual-reader" : fs::path(named));
}

ReaderFolder::ReaderFolder(fs::path folder)
    : folder_(std::move(folder)), inbox_(folder_ / L"inbox"), done_(folder_ / L"done") {
  std::error_code ignored;
  fs::create_directories(inbox_, ignored);
  fs::create_directories(done_, ignored);
}

DeviceSettings ReaderFolder::Device() const {
  return ParseDeviceSettings(FileBytes(folder_ / L"device.ini").value_or(""));
}

std::vector<VirtualDocument> ReaderFolder::Waiting() const {
  std::vector<fs::path> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(inbox_, error)) {
    const std::wstring extension = entry.path().extension().wstring();
    if (entry.is_regular_file(error) && CompareStringOrdinal(extension.c_str(), -1, L".ini", -1, TRUE) == CSTR_EQUAL) {
      files.push_back(entry.path());
    }
  }
  std::ranges::sort(files, [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  std::vector<VirtualDocument> documents;
  for (const fs::path& file : files) {
    if (const std::optional<std::string> text = FileBytes(file)) {
      documents.push_back(ParseDocument(FromWide(file.filename().wstring()), *text));
    }
  }
  return documents;
}

void ReaderFolder::MarkRead(const VirtualDocument& document) const {
  const std::wstring name = ToWide(document.fileName);
  MoveFileExW((inbox_ / name).c_str(), (done_ / name).c_str(), MOVEFILE_REPLACE_EXISTING);
}

size_t ReaderFolder::ReadCount() const {
  std::error_code error;
  const auto entries = fs::directory_iterator(done_, error);
  return error ? 0 : static_cast<size_t>(std::distance(fs::begin(entries), fs::end(entries)));
}

std::optional<std::string> ReaderFolder::ImageFile(std::string_view relativeUtf8) const {
  std::wstring relative = ToWide(relativeUtf8);
  std::ranges::replace(relative, L'/', L'\\');
  return FileBytes(inbox_ / relative);
}

void ReaderFolder::LogCall(std::string_view line) const {
  std::ofstream(folder_ / L"calls.log", std::ios::binary | std::ios::app) << line;
}

}  // namespace orvex::virtual_reader
