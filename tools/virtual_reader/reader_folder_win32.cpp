#include "reader_folder_win32.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "base/file_io.h"
#include "base/system_win32.h"
#include "base/wide_win32.h"

namespace orvex::virtual_reader {
namespace {

namespace fs = std::filesystem;

// Two seconds, in the 100-nanosecond units of file times.
constexpr uint64_t kInboxSettleTime = 2 * 10'000'000;
// calls.log grows to at most this size; then it becomes calls.log.1 and a new one starts, so that
// a reader polled ten times a second for weeks fills no disk.
constexpr uint64_t kCallLogLimit = 1024 * 1024;

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The file's or folder's last write time to the file system's full precision (the C runtime's
// stat, under std::filesystem, rounds it to whole seconds), or nothing when it cannot be read.
std::optional<uint64_t> LastWriteTime(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  return Ticks(data.ftLastWriteTime);
}

uint64_t Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

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

// The log opened for appending, shared so that it can be read, moved or deleted meanwhile.
UniqueHandle OpenForAppending(const fs::path& path) {
  return UniqueHandle(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

uint64_t FileSize(const UniqueHandle& file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file.Get(), &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

}  // namespace

ReaderFolder& ReaderFolder::Current() {
  static std::optional<ReaderFolder> current;
  const std::wstring named = EnvironmentVariable(L"ORVEX_VIRTUAL_READER");
  const fs::path folder = named.empty() ? LibraryFolder() / L"virtual-reader" : fs::path(named);
  if (!current || current->folder_ != folder) {
    current.reset();
    current.emplace(ReaderFolder(folder));
  }
  return *current;
}

ReaderFolder::ReaderFolder(fs::path folder)
    : folder_(std::move(folder)), inbox_(folder_ / L"inbox"), done_(folder_ / L"done") {
  std::error_code ignored;
  fs::create_directories(inbox_, ignored);
  fs::create_directories(done_, ignored);
}

DeviceSettings ReaderFolder::Device() const {
  const std::optional<uint64_t> stamp = LastWriteTime(folder_ / L"device.ini");
  if (!device_ || deviceTime_ != stamp) {
    device_ = ParseDeviceSettings(FileBytes(folder_ / L"device.ini").value_or(""));
    deviceTime_ = stamp;
  }
  return *device_;
}

std::vector<VirtualDocument> ReaderFolder::Waiting() const {
  const std::optional<uint64_t> inboxTime = LastWriteTime(inbox_);
  // A document being copied in changes the folder when it appears, not when its content is
  // complete: the list is kept only once the folder has been quiet for a while.
  const bool settled = inboxTime && Now() > *inboxTime + kInboxSettleTime;
  if (settled && inboxTime_ == inboxTime) {
    return waiting_;
  }
  inboxTime_ = inboxTime;
  std::error_code error;
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(inbox_, error)) {
    const std::wstring extension = entry.path().extension().wstring();
    if (entry.is_regular_file(error) && CompareStringOrdinal(extension.c_str(), -1, L".ini", -1, TRUE) == CSTR_EQUAL) {
      files.push_back(entry.path());
    }
  }
  std::ranges::sort(files, [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  waiting_.clear();
  for (const fs::path& file : files) {
    if (const std::optional<std::string> text = FileBytes(file)) {
      waiting_.push_back(ParseDocument(FromWide(file.filename().wstring()), *text));
    }
  }
  return waiting_;
}

void ReaderFolder::MarkRead(const VirtualDocument& document) const {
  const std::wstring name = ToWide(document.fileName);
  MoveFileExW((inbox_ / name).c_str(), (done_ / name).c_str(), MOVEFILE_REPLACE_EXISTING);
  inboxTime_.reset();
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

void ReaderFolder::LogCall(std::string_view line) {
  const fs::path log = folder_ / L"calls.log";
  if (!callsLog_) {
    callsLog_ = OpenForAppending(log);
  }
  if (callsLog_ && FileSize(callsLog_) + line.size() > kCallLogLimit) {
    callsLog_.Reset();
    MoveFileExW(log.c_str(), (folder_ / L"calls.log.1").c_str(), MOVEFILE_REPLACE_EXISTING);
    callsLog_ = OpenForAppending(log);
  }
  DWORD written = 0;
  if (!callsLog_ || !WriteFile(callsLog_.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
    callsLog_.Reset();  // the folder may have gone; the next call opens the log again
  }
}

}  // namespace orvex::virtual_reader
