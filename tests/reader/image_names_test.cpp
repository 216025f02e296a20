// Names built by the real processors from the values a document brings, and the files written
// under them by the real read: what lands in the data folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "reader/read_doc.h"
#include "support/fake_reader_library.h"
#include "support/name_units.h"
#include "support/processing_harness.h"
#include "support/recording_reader_clients.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;

const std::string kChequeLine = "A0001234 C12A34567E 000123456A";

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The profile "Main": the given keys and the sample cutting keys.
std::string ProfileText(const std::string& keys) {
  return "[Main]\n" + keys + std::string(test_support::kSampleCuttingKeys);
}

// A document read from a scripted reader and handed to the real processors.
class ReadAndProcess {
 public:
  explicit ReadAndProcess(const std::string& keys = "") : h(ProfileText(keys)) {
    settings.deviceName = "EXCELLA_USB";
    library.images = {{"img/1", "FRONT"}, {"img/2", "BACK"}};
  }

  // Another profile "Main", once the data folder is current (for names measured from it).
  void UseProfile(const std::string& keys) {
    h.ini.SetPath(test_support::WriteIniFile(h.folder, "OrvexExcella.ini", ProfileText(keys)));
    h.profiles.LoadProfile(1);
  }

  void Read(const std::string& micr) {
    library.documentReply = "CommandStatus/ReturnCode=0\nDocInfo/MICRRaw=" + micr +
                            "\nImageInfo/ImageSize#1=16\nImageInfo/ImageURL#1=img/1\n"
                            "ImageInfo/ImageSize#2=16\nImageInfo/ImageURL#2=img/2\n";
    read.ReadDoc(DocFeed::kManual, 500);
  }

  // The files of the data folder, but the configuration, as "name=content", names with "\".
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(h.folder.Path())) {
      if (entry.is_regular_file() && entry.path().filename() != "OrvexExcella.ini") {
        std::string name = Utf8(entry.path().lexically_relative(h.folder.Path()));
        std::replace(name.begin(), name.end(), '/', '\\');
        files.push_back(name + "=" + ReadFileBytes(Utf8(entry.path())).value_or(""));
      }
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  test_support::ProcessingHarness h;
  test_support::FakeReaderLibrary library;
  GlobalSettings settings;
  test_support::RecordingJoin join;
  DocumentRead read{
      {library, settings, h.profiles.Settings(), h.processing, h.prompt, join, h.clock, h.files, h.trail}};
};

TEST(ImageNames, HostileValuesAreSavedUnderCleanedNames) {
  const struct {
    const char* value;
    std::string keys;
    std::deque<std::string> answers;  // the operator's "{User}" answers
    const char* amount;               // typed into the full cheque dialog, when one opens
    std::string micr;
    std::vector<std::string> files;
  } cases[] = {
      {"an amount with a colon, which NTFS would take for a stream",
       "LetUserFillDetails=2\nImageFileNameTemplate={Amount}.jpg\nBackImageFileNameTemplate={Amount}-back.jpg\n",
       {},
       "12:30",
       kChequeLine,
       {"12_30-back.jpg=BACK", "12_30.jpg=FRONT"}},
      {"a device name", "ImageFileNameTemplate={User}.jpg\n", {"CON"}, nullptr, kChequeLine, {"CON_.jpg=FRONT"}},
      {"a device name as a folder",
       "ImageFileNameTemplate=scans\\{User}\\{ChequeNum}.jpg\n",
       {"Aux"},
       nullptr,
       kChequeLine,
       {"scans\\Aux_\\1234.jpg=FRONT"}},
      {"a folder whose dot Windows would drop",
       "ImageFileNameTemplate={User}\\{ChequeNum}.jpg\n",
       {"a."},
       nullptr,
       kChequeLine,
       {"a._\\1234.jpg=FRONT"}},
      {"folders above the data folder",
       "ImageFileNameTemplate=img\\{User}.jpg\n",
       {"..\\..\\x"},
       nullptr,
       kChequeLine,
       {"img\\__\\__\\x.jpg=FRONT"}},
      {"a 300-character answer, asked again",
       "ImageFileNameTemplate={User}.jpg\n",
       {std::string(300, 'x'), "short"},
       nullptr,
       kChequeLine,
       {"short.jpg=FRONT"}},
      {"a variable of the command interpreter",
       "ImageFileNameTemplate={User}.jpg\n",
       {"%DATE%"},
       nullptr,
       kChequeLine,
       {"%DATE%.jpg=FRONT"}},
      {"a quote", "ImageFileNameTemplate={User}.jpg\n", {"a\"b"}, nullptr, kChequeLine, {"a_b.jpg=FRONT"}},
      {"control characters",
       "ImageFileNameTemplate={User}.jpg\n",
       {"a\tb\x01"
        "c"},
       nullptr,
       kChequeLine,
       {"a_b_c.jpg=FRONT"}},
      {"an unread digit of a cheque field",
       "DontPassPartialRead=0\nImageFileNameTemplate={ChequeNum}.jpg\n",
       {},
       nullptr,
       "A00012?4 C12A34567E 000123456A",
       {"12#4.jpg=FRONT"}},
      {"a MICR text with unread and forbidden characters",
       "UnidentifiedFileNameTemplate={MICR}.jpg\n",
       {},
       nullptr,
       "12:30?|<x>",
       {"12_30#__x_.jpg=FRONT"}},
      {"a MICR text with folders above",
       "UnidentifiedFileNameTemplate={MICR}.jpg\n",
       {},
       nullptr,
       "..\\..\\x",
       {".._.._x.jpg=FRONT"}},
  };
  for (const auto& c : cases) {
    ReadAndProcess run(c.keys);
    run.h.prompt.answers = c.answers;
    if (c.amount) {
      run.h.dialogs.answers.push_back(
          ChequeCompletion{"A0001234 C12A34567E 000123456C", c.amount, "15/03/2026", false});
    }
    run.Read(c.micr);
    EXPECT_EQ(run.Files(), c.files) << c.value;
    EXPECT_TRUE(run.h.prompt.answers.empty()) << "every answer was asked for: " << c.value;
    EXPECT_TRUE(run.h.boxes.Shown().empty()) << c.value;
  }
}

// The marked text with "<too long>" as a name in the data folder whose whole path is 260 units
// before its extension, and "<256>" as one whose whole path is 256 units: names the disk takes
// where the rule does not hold.
std::string WithLongNames(std::string text) {
  const std::pair<std::string, size_t> marks[] = {{"<too long>", kMaxPathUnits + 1}, {"<256>", kMaxPathUnits - 3}};
  for (const auto& [mark, units] : marks) {
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
      text.replace(at, mark.size(), test_support::NameOfUnits(units - test_support::FolderUnits()));
    }
  }
  return text;
}

TEST(ImageNames, ANameLongerThanWindowsTakesIsKeptInTheRecoveryFolderAndTheOperatorTold) {
  const struct {
    const char* file;
    const char* keys;
    bool newLog;           // the tray command that starts a new cheque log follows the cheque
    const char* longName;  // the name the file is not written under
    const char* kept;      // in the file kept in the recovery folder
  } cases[] = {
      {"an image", "ImageFileNameTemplate=<too long>.jpg\n", false, "<too long>.jpg", "FRONT"},
      {"an XML file, with \".xml\" added to a front name that fits",
       "CreateXML=1\nImageFileNameTemplate=<256>\nBackImageFileNameTemplate=b.jpg\n", false, "<256>.xml",
       "<Number>1234</Number>"},
      {"a CSV archive", "CSVFile=log.csv\nCSVRenTemplate=<too long>.csv\n", true, "<too long>.csv",
       "0001234,12,34567,000123456"},
  };
  for (const auto& c : cases) {
    ReadAndProcess run;
    run.UseProfile(WithLongNames(c.keys));
    run.Read(kChequeLine);
    if (c.newLog) {
      run.h.processing.StartNewCsvLog();
    }
    EXPECT_FALSE(fs::exists(ToFsPath(WithLongNames(c.longName)))) << c.file;
    EXPECT_TRUE(run.h.clock.sleeps.empty()) << "a name Windows refuses is not tried again: " << c.file;
    ASSERT_TRUE(fs::is_directory(kUnsavedFolder)) << c.file;
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(kUnsavedFolder)) {
      kept.push_back(ReadFileBytes(Utf8(entry.path())).value_or(""));
    }
    ASSERT_EQ(kept.size(), 1u) << c.file;
    EXPECT_NE(kept[0].find(c.kept), std::string::npos) << c.file;
    ASSERT_EQ(run.h.boxes.Shown().size(), 1u) << c.file;
    EXPECT_NE(run.h.boxes.Shown()[0].text.find("השם ארוך מהמותר ב-Windows"), std::string::npos) << c.file;
  }
}

// Whether the disk under the current folder takes a file of that name.
bool DiskTakes(const std::string& name) {
  const bool taken = WriteFileBytes(name, "");
  std::error_code ignored;
  fs::remove(ToFsPath(name), ignored);
  return taken;
}

TEST(ImageNames, AHebrewNameWindowsTakesIsSavedOrKeptButNeverLost) {
  // 130 letters: 134 UTF-16 units with the extension, which Windows takes; 264 bytes of UTF-8, more
  // than the 255 a Linux file system takes, under Wine too.
  std::string hebrew;
  for (int i = 0; i < 130; ++i) {
    hebrew += "ש";
  }
  ReadAndProcess run("ImageFileNameTemplate={User}.jpg\n");
  run.h.prompt.answers = {hebrew};
  const bool diskTakesIt = DiskTakes(hebrew + ".jpg");
  run.Read(kChequeLine);
  EXPECT_EQ(run.h.prompt.asked.size(), 1u) << "Windows takes the name: the operator is not asked again";
  if (diskTakesIt) {
    EXPECT_EQ(run.Files(), std::vector<std::string>{hebrew + ".jpg=FRONT"});
    EXPECT_TRUE(run.h.boxes.Shown().empty());
  } else {
    const std::vector<std::string> files = run.Files();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].starts_with("Unsaved\\") && files[0].ends_with(".jpg=FRONT")) << files[0];
    ASSERT_EQ(run.h.boxes.Shown().size(), 1u);
    EXPECT_NE(run.h.boxes.Shown()[0].text.find(hebrew + ".jpg"), std::string::npos);
  }
}

}  // namespace
}  // namespace orvex
