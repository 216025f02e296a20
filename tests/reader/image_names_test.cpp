// Names built by the real processors from the values a document brings, and the files written
// under them by the real read: what lands in the data folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "reader/read_doc.h"
#include "support/fake_reader_library.h"
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
  return "[Main]\n" + keys + std::string(testing::kSampleCuttingKeys);
}

// A document read from a scripted reader and handed to the real processors.
class ReadAndProcess {
 public:
  explicit ReadAndProcess(const std::string& keys = "") : h(ProfileText(keys)) {
    settings.deviceName = "EXCELLA_USB";
    library.images = {{"img/1", "FRONT"}, {"img/2", "BACK"}};
  }

  void Read(const std::string& micr) {
    library.documentReply = "CommandStatus/ReturnCode=0\nDocInfo/MICRRaw=" + micr +
                            "\nImageInfo/ImageSize#1=16\nImageInfo/ImageURL#1=img/1\n"
                            "ImageInfo/ImageSize#2=16\nImageInfo/ImageURL#2=img/2\n";
    std::string docType = "MANUAL";
    read.ReadDoc(docType, 500);
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

  testing::ProcessingHarness h;
  testing::FakeReaderLibrary library;
  GlobalSettings settings;
  testing::RecordingJoin join;
  DocumentRead read{{library, settings, h.profiles.Settings(), h.processing, h.prompt, join, h.clock, h.files, h.trail}};
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
      {"a device name as a folder", "ImageFileNameTemplate=scans\\{User}\\{ChequeNum}.jpg\n", {"Aux"}, nullptr,
       kChequeLine, {"scans\\Aux_\\1234.jpg=FRONT"}},
      {"a folder whose dot Windows would drop", "ImageFileNameTemplate={User}\\{ChequeNum}.jpg\n", {"a."}, nullptr,
       kChequeLine, {"a._\\1234.jpg=FRONT"}},
      {"folders above the data folder", "ImageFileNameTemplate=img\\{User}.jpg\n", {"..\\..\\x"}, nullptr,
       kChequeLine, {"img\\__\\__\\x.jpg=FRONT"}},
      {"a variable of the command interpreter", "ImageFileNameTemplate={User}.jpg\n", {"%DATE%"}, nullptr,
       kChequeLine, {"%DATE%.jpg=FRONT"}},
      {"a quote", "ImageFileNameTemplate={User}.jpg\n", {"a\"b"}, nullptr, kChequeLine, {"a_b.jpg=FRONT"}},
      {"control characters", "ImageFileNameTemplate={User}.jpg\n", {"a\tb\x01" "c"}, nullptr, kChequeLine,
       {"a_b_c.jpg=FRONT"}},
      {"an unread digit of a cheque field", "DontPassPartialRead=0\nImageFileNameTemplate={ChequeNum}.jpg\n", {},
       nullptr, "A00012?4 C12A34567E 000123456A", {"12#4.jpg=FRONT"}},
      {"a MICR text with unread and forbidden characters", "UnidentifiedFileNameTemplate={MICR}.jpg\n", {}, nullptr,
       "12:30?|<x>", {"12_30#__x_.jpg=FRONT"}},
      {"a MICR text with folders above", "UnidentifiedFileNameTemplate={MICR}.jpg\n", {}, nullptr, "..\\..\\x",
       {".._.._x.jpg=FRONT"}},
  };
  for (const auto& c : cases) {
    ReadAndProcess run(c.keys);
    run.h.prompt.answers = c.answers;
    if (c.amount) {
      run.h.dialogs.answers.push_back(ChequeCompletion{"A0001234 C12A34567E 000123456C", c.amount, "15/03/2026", false});
    }
    run.Read(c.micr);
    EXPECT_EQ(run.Files(), c.files) << c.value;
    EXPECT_TRUE(run.h.prompt.answers.empty()) << "every answer was asked for: " << c.value;
    EXPECT_TRUE(run.h.boxes.Shown().empty()) << c.value;
  }
}

}  // namespace
}  // namespace orvex
