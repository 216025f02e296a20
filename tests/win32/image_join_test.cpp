// The image joiner as shipped (netpbm\CombinePics.bat and combine_pics.exe, copied from the build
// tree into a program folder of the test's own) joining real JPEG files.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "base/file_io.h"
#include "base/handle_win32.h"
#include "reader/image_join_win32.h"
#include "reader/reader_library_win32.h"
#include "support/temp_folder.h"
#include "wic_image_win32.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
using images::Picture;

constexpr DWORD kProgramLimitMs = 20000;

// A picture of one colour, as blue, green, red.
Picture Filled(uint32_t width, uint32_t height, uint8_t blue, uint8_t green, uint8_t red) {
  Picture picture = images::WhitePicture(width, height);
  for (size_t i = 0; i < picture.pixels.size(); i += Picture::kBytesPerPixel) {
    picture.pixels[i] = blue;
    picture.pixels[i + 1] = green;
    picture.pixels[i + 2] = red;
  }
  return picture;
}

class ImageJoinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path shipped = ProgramFolder().parent_path().parent_path() / L"netpbm";
    fs::create_directories(netpbm);
    fs::copy_file(shipped / L"combine_pics.exe", netpbm / L"combine_pics.exe");
    fs::copy_file(shipped / L"CombinePics.bat", netpbm / L"CombinePics.bat");
  }

  void WriteJpeg(const wchar_t* name, const Picture& picture) const {
    const std::optional<std::string> bytes = images::EncodeJpeg(picture);
    ASSERT_TRUE(bytes);
    WriteBytes(name, *bytes);
  }
  void WriteBytes(const wchar_t* name, const std::string& bytes) const {
    WriteFileBytes(FromPath(netpbm / name), bytes);
  }
  static std::string FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }

  // Runs the batch file as the program does, from the program folder, and returns its exit code.
  DWORD RunBatch(const std::wstring& target) const {
    std::wstring commandLine = L"cmd.exe /c netpbm\\CombinePics.bat \"" + target + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        programFolder.Path().c_str(), &startup, &started)) {
      ADD_FAILURE() << "cannot start cmd.exe";
      return ~DWORD{0};
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    WaitForSingleObject(process.Get(), kProgramLimitMs);
    DWORD exitCode = ~DWORD{0};
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
  }

  std::optional<Picture> Decoded(const fs::path& file) const {
    const std::optional<std::string> bytes = ReadFileBytes(FromPath(file));
    return bytes ? images::DecodePicture(*bytes) : std::nullopt;
  }
  std::wstring Script() const { return (netpbm / L"CombinePics.bat").wstring(); }
  bool TemporariesGone() const {
    return !fs::exists(netpbm / L"tmp-front.jpg") && !fs::exists(netpbm / L"tmp-back.jpg");
  }

  images::ComInitialization com;
  test_support::TempFolder programFolder;
  fs::path netpbm = programFolder.Path() / L"netpbm";
};

TEST_F(ImageJoinTest, FrontAndBackBecomeOneJpegFrontAboveBackAndTheTemporariesGo) {
  WriteJpeg(L"tmp-front.jpg", Filled(64, 24, 0, 0, 255));  // red
  WriteJpeg(L"tmp-back.jpg", Filled(48, 16, 255, 0, 0));   // blue
  EXPECT_EQ(RunBatch(L"0326\\12#4_5.jpg"), 0u);

  const std::optional<Picture> joined = Decoded(programFolder.Path() / L"0326" / L"12#4_5.jpg");
  ASSERT_TRUE(joined) << "the target's folder is made and the target is a JPEG";
  EXPECT_EQ(joined->width, 64u);
  EXPECT_EQ(joined->height, 40u);
  const auto redAt = [&](uint32_t x, uint32_t y) { return joined->pixels[(y * joined->width + x) * 3 + 2]; };
  const auto blueAt = [&](uint32_t x, uint32_t y) { return joined->pixels[(y * joined->width + x) * 3]; };
  EXPECT_GT(redAt(8, 8), 200) << "the front on top";
  EXPECT_GT(blueAt(8, 32), 200) << "the back below";
  EXPECT_GT(redAt(60, 32), 200) << "white beside the narrower back";
  EXPECT_TRUE(TemporariesGone());
}

TEST_F(ImageJoinTest, ABackThatCannotBeDecodedLeavesTheFrontAlone) {
  WriteJpeg(L"tmp-front.jpg", Filled(32, 16, 0, 0, 255));
  WriteBytes(L"tmp-back.jpg", "not a picture");
  const std::string front = ReadFileBytes(FromPath(netpbm / L"tmp-front.jpg")).value();
  EXPECT_EQ(RunBatch(L"cheque.jpg"), 0u);
  EXPECT_EQ(ReadFileBytes(FromPath(programFolder.Path() / L"cheque.jpg")), front);
  EXPECT_TRUE(TemporariesGone());
}

TEST_F(ImageJoinTest, WithoutAFrontNothingIsWrittenAndTheBackStays) {
  WriteJpeg(L"tmp-back.jpg", Filled(32, 16, 255, 0, 0));
  EXPECT_NE(RunBatch(L"cheque.jpg"), 0u);
  EXPECT_FALSE(fs::exists(programFolder.Path() / L"cheque.jpg"));
  EXPECT_TRUE(fs::exists(netpbm / L"tmp-back.jpg"));
}

// The program's working folder is its own folder; the join runs relative to it.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolder() { fs::current_path(previous_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path previous_;
};

TEST_F(ImageJoinTest, CombinePicsJoinWritesThePlainTargetAndReportsHowTheBatchFileEnded) {
  WriteJpeg(L"tmp-front.jpg", Filled(32, 16, 0, 0, 255));
  WriteJpeg(L"tmp-back.jpg", Filled(32, 16, 255, 0, 0));
  const CurrentFolder inProgramFolder(programFolder.Path());
  CombinePicsJoin join(Script());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(0)), ImageJoin::Outcome::kNone) << "nothing started yet";
  ASSERT_TRUE(join.Start());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(kProgramLimitMs)), ImageJoin::Outcome::kSucceeded);
  const std::optional<Picture> joined = Decoded(netpbm / L"tmp-joined.jpg");
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->height, 32u);
  EXPECT_TRUE(TemporariesGone());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(0)), ImageJoin::Outcome::kNone) << "an ended join is judged once";

  WriteBytes(L"CombinePics.bat", "@echo off\r\nexit /b 3\r\n");
  ASSERT_TRUE(join.Start());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(kProgramLimitMs)), ImageJoin::Outcome::kFailed);
}

TEST_F(ImageJoinTest, AnInstalledJoinRunsItsScriptFromAFolderWithBlanksOnTheDataFoldersImages) {
  const fs::path installed = programFolder.Path() / L"Program Files" / L"Orvex Excella" / L"netpbm";
  fs::create_directories(installed);
  for (const wchar_t* name : {L"CombinePics.bat", L"combine_pics.exe"}) {
    fs::copy_file(netpbm / name, installed / name);
    fs::remove(netpbm / name);
  }
  WriteJpeg(L"tmp-front.jpg", Filled(32, 16, 0, 0, 255));
  WriteJpeg(L"tmp-back.jpg", Filled(32, 16, 255, 0, 0));
  const CurrentFolder inDataFolder(programFolder.Path());
  CombinePicsJoin join((installed / L"CombinePics.bat").wstring());
  ASSERT_TRUE(join.Start());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(kProgramLimitMs)), ImageJoin::Outcome::kSucceeded);
  EXPECT_TRUE(Decoded(netpbm / L"tmp-joined.jpg"));
  EXPECT_TRUE(TemporariesGone());
}

TEST_F(ImageJoinTest, AJoinThatOutlastsTheBoundIsStillRunningUntilItEnds) {
  // A join that runs until the test lets it end.
  WriteBytes(L"CombinePics.bat", "@echo off\r\n:wait\r\nif not exist netpbm\\release goto wait\r\n");
  const CurrentFolder inProgramFolder(programFolder.Path());
  CombinePicsJoin join(Script());
  ASSERT_TRUE(join.Start());
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(100)), ImageJoin::Outcome::kRunning);
  WriteBytes(L"release", "");
  EXPECT_EQ(join.Wait(std::chrono::milliseconds(kProgramLimitMs)), ImageJoin::Outcome::kSucceeded);
}

}  // namespace
}  // namespace orvex
