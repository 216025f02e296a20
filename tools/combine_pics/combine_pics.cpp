// combine_pics.exe <target>: joins the front and back images of a cheque, netpbm\tmp-front.jpg and
// netpbm\tmp-back.jpg of the current directory (the program's data folder), into one JPEG under
// the target name (front above back), and then deletes both. When the back cannot be decoded, or the joined picture cannot be encoded, the
// front is saved alone. The temporaries are deleted only after the target was written.
// Exit code: 0 when the target was written, 1 when there was nothing to write, 2 when it could not
// be written.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "base/file_io.h"
#include "base/wide_win32.h"
#include "wic_image_win32.h"

namespace {

namespace fs = std::filesystem;
using orvex::images::Picture;

constexpr int kWritten = 0;
constexpr int kNothingToWrite = 1;
constexpr int kCannotWrite = 2;

std::optional<std::string> FileBytes(const fs::path& path) {
  return orvex::ReadFileBytes(orvex::FromWide(path.wstring()));
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
  std::error_code ignored;
  if (path.has_parent_path()) {
    fs::create_directories(path.parent_path(), ignored);
  }
  return orvex::WriteFileBytes(orvex::FromWide(path.wstring()), bytes);
}

// Where the program that starts the join keeps its temporary images.
fs::path TemporaryFolder() {
  return fs::current_path() / L"netpbm";
}

// Both pictures stacked into one JPEG, or nothing when either cannot be decoded or the result
// cannot be encoded.
std::optional<std::string> JoinedJpeg(const std::string& front, const std::optional<std::string>& back) {
  if (!back) {
    return std::nullopt;
  }
  const orvex::images::ComInitialization com;
  const std::optional<Picture> top = orvex::images::DecodePicture(front);
  const std::optional<Picture> bottom = orvex::images::DecodePicture(*back);
  if (!top || !bottom) {
    return std::nullopt;
  }
  return orvex::images::EncodeJpeg(orvex::images::StackVertically(*top, *bottom));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fwprintf(stderr, L"usage: combine_pics <target.jpg>\n");
    return kNothingToWrite;
  }
  const fs::path folder = TemporaryFolder();
  const fs::path frontFile = folder / L"tmp-front.jpg";
  const fs::path backFile = folder / L"tmp-back.jpg";
  const std::optional<std::string> front = FileBytes(frontFile);
  if (!front || front->empty()) {
    fwprintf(stderr, L"combine_pics: no front image in %ls\n", frontFile.c_str());
    return kNothingToWrite;
  }
  const std::optional<std::string> joined = JoinedJpeg(*front, FileBytes(backFile));
  if (!joined) {
    fwprintf(stderr, L"combine_pics: the images cannot be joined; the front is saved alone\n");
  }
  if (!WriteBytes(argv[1], joined.value_or(*front))) {
    fwprintf(stderr, L"combine_pics: cannot write %ls\n", argv[1]);
    return kCannotWrite;
  }
  std::error_code ignored;
  fs::remove(frontFile, ignored);
  fs::remove(backFile, ignored);
  return kWritten;
}
