#include "reader/read_doc.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "support/current_folder.h"
#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/fake_reader_library.h"
#include "support/fake_shell.h"
#include "support/faulty_files.h"
#include "support/ini_text_file.h"
#include "support/recording_reader_clients.h"
#include "support/scripted_prompt.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using namespace std::chrono_literals;
using test_support::FakeReaderLibrary;

using test_support::RecordingJoin;
using test_support::RecordingProcessors;
using test_support::ScriptedPrompt;

const std::string kChequeLine = "A0001234 C12A34567E 000123456A";

class ReadDocTest : public ::testing::Test {
 protected:
  ReadDocTest() {
    settings.deviceName = "EXCELLA_USB";
    settings.msrTracks = "2";
    settings.machineType = "Excella";
    library.images = {{"img/1", "FRONT"}, {"img/2", "BACK"}, {"img/3", "PREVIEW"}};
  }

  // The profile the read runs with, as its lines in the configuration.
  void UseProfile(const std::string& lines) {
    ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", "[Profile]\n" + lines));
    profiles.SetProfileNames(ProfileSectionNames(ini));
    profiles.LoadProfile(1);
  }
  // A successful reply with the MICR line, the tracks and images 1 to `images`.
  void Reply(const std::string& micr, int images = 2, const std::string& more = "") {
    library.documentReply = "CommandStatus/ReturnCode=0\nDocInfo/MICRRaw=" + micr + "\n" + more;
    for (int i = 1; i <= images; ++i) {
      library.documentReply += "ImageInfo/ImageSize#" + std::to_string(i) + "=16\nImageInfo/ImageURL#" +
                               std::to_string(i) + "=img/" + std::to_string(i) + "\n";
    }
  }
  // The kind of document read, as the reader names it.
  std::string Read(DocFeed feed) { return std::string(DocFeedText(read.ReadDoc(feed, 500))); }
  std::optional<std::string> File(const std::string& name) { return ReadFileBytes(name); }

  test_support::TempFolder folder;
  test_support::CurrentFolder current{folder.Path()};
  test_support::TraceCapture trace;
  FakeReaderLibrary library;
  GlobalSettings settings;
  cInifile ini;
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  ScriptedPrompt prompt;
  RecordingJoin join;
  test_support::FakeClock clock;
  test_support::FaultyFiles files;
  test_support::FakeMessageBoxes boxes;
  DocumentTrail trail{files, clock, boxes};
  RecordingProcessors processors{&trail};
  DocumentRead read{{library, settings, profiles.Settings(), processors, prompt, join, clock, files, trail}};
};

// The options as "Section/Key#index=value" lines.
std::vector<std::string> OptionLines(const std::vector<ReaderOption>& options) {
  std::vector<std::string> lines;
  for (const ReaderOption& o : options) {
    lines.push_back(o.section + "/" + o.key + (o.index ? "#" + std::to_string(o.index) : "") + "=" + o.value);
  }
  return lines;
}

TEST(ReadOptions, FollowTheFeederAndTheProfileInTheReadersOrder) {
  ProfileSettings profile = DefaultProfileSettings();
  profile.IDColorDepth = "COLOR24", profile.IDResolution = "200X200";
  profile.FrontColorDepth = "BW", profile.FrontResolution = "200X200";
  profile.BackColorDepth = "GRAY8", profile.BackResolution = "100X100";
  const std::vector<std::string> common = {"Application/Transfer=HTTP", "Application/DocUnits=METRIC",
                                           "ProcessOptions/DocFeedTimeout=500", "ProcessOptions/RespondEarly=NO"};
  auto with = [&](std::string_view feed, std::vector<std::string> rest) {
    std::vector<std::string> lines = common;
    lines.insert(lines.begin() + 3, "ProcessOptions/DocFeed=" + std::string(feed));
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
  };
  const std::vector<std::string> cheque = {
      "ProcessOptions/ReadMICR=ALL",       "ImageOptions/ImageColor#1=BW",      "ImageOptions/ImageColor#2=GRAY8",
      "ImageOptions/Resolution#1=200X200", "ImageOptions/Resolution#2=100X100", "ImageOptions/Compression#1=JPEG",
      "ImageOptions/FileType#1=JPG",       "ImageOptions/Compression#2=JPEG",   "ImageOptions/FileType#2=JPG",
      "ImageOptions/ImageSide#2=BACK",     "ImageOptions/ImageSide#1=FRONT",    "ProcessOptions/Endorse=NO"};
  std::vector<std::string> twoImages = {"ImageOptions/Number=2"};
  twoImages.insert(twoImages.end(), cheque.begin(), cheque.end());

  const LocalDateTime now{2026, 3, 5, 14, 7, 9};
  EXPECT_EQ(
      OptionLines(ReadOptions(DocFeed::kId, 500, profile, "Excella", now)),
      with("ID", {"ProcessOptions/Endorse=NO", "ImageOptions/Number=1", "ProcessOptions/ReadMICR=NO",
                  "ImageOptions/ImageColor#1=COLOR24", "ImageOptions/Resolution#1=200X200",
                  "ImageOptions/Compression#1=JPEG", "ImageOptions/FileType#1=JPG", "ImageOptions/ImageSide#1=BACK"}));
  EXPECT_EQ(OptionLines(ReadOptions(DocFeed::kManual, 500, profile, "Excella", now)), with("MANUAL", twoImages));
  EXPECT_EQ(OptionLines(ReadOptions(DocFeed::kMsr, 500, profile, "Excella", now)), with("MSR", {}));

  profile.LetUserFillDetails = 2;
  std::vector<std::string> withPreview = {
      "ImageOptions/Number=3",           "ImageOptions/ImageColor#3=GRAY8", "ImageOptions/Resolution#3=100X100",
      "ImageOptions/Compression#3=JPEG", "ImageOptions/FileType#3=JPG",     "ImageOptions/ImageSide#3=FRONT"};
  withPreview.insert(withPreview.end(), cheque.begin(), cheque.end());
  EXPECT_EQ(OptionLines(ReadOptions(DocFeed::kAutoFeed, 500, profile, "Excella", now)), with("AUTOFEED", withPreview));
}

TEST(ReadOptions, EndorsementFollowsTheTextsAndTheMachine) {
  const struct {
    std::string back, front, machine;
    std::vector<std::string> endorser;  // the Endorser options, then ProcessOptions/Endorse
  } cases[] = {
      {"", "", "Excella", {"ProcessOptions/Endorse=NO"}},
      {"PAID {DD}/{MM}", "", "MDX", {"Endorser/PrintData=PAID 05/03", "ProcessOptions/Endorse=BACK"}},
      {"", "F", "MDX", {"Endorser/PrintFrontData=F", "ProcessOptions/Endorse=FRONT"}},
      {"B", "F", "MDX", {"Endorser/PrintData=B", "Endorser/PrintFrontData=F", "ProcessOptions/Endorse=BOTH"}},
      {"B", "", "Excella", {"Endorser/PrintData=B", "ProcessOptions/Endorse=YES"}},
      {"B", "", "excella", {"Endorser/PrintData=B", "ProcessOptions/Endorse=BACK"}},
  };
  for (const auto& c : cases) {
    ProfileSettings profile = DefaultProfileSettings();
    profile.EndorseBack = c.back, profile.EndorseFront = c.front;
    std::vector<std::string> lines =
        OptionLines(ReadOptions(DocFeed::kAll, 500, profile, c.machine, {2026, 3, 5, 14, 7, 9}));
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(c.endorser.size()));
    EXPECT_EQ(lines, c.endorser) << c.back << "|" << c.front << "|" << c.machine;
  }
}

TEST_F(ReadDocTest, AChequeIsProcessedAndItsImagesSavedUnderTheReturnedNames) {
  UseProfile("");
  Reply(kChequeLine + "  ");
  processors.imageNames = {"0326\\12?4_5.jpg", "0326\\12?4_5-back.jpg"};
  library.duringRead = [&] { clock.monotonic += 1250ms; };
  Read(DocFeed::kManual);
  EXPECT_EQ(processors.calls, std::vector<std::string>{"Cheque(" + kChequeLine + ")"});
  EXPECT_EQ(File("0326\\12#4_5.jpg"), "FRONT");
  EXPECT_EQ(File("0326\\12#4_5-back.jpg"), "BACK");
  for (const char* line : {"Pulling Doc from MANUAL feeder", "Read took 1.25 seconds, ReturnCode=0",
                           "Saving front/ID: 0326\\12#4_5.jpg", "Saving backside: 0326\\12#4_5-back.jpg"}) {
    EXPECT_TRUE(trace.Contains(line)) << line;
  }
  EXPECT_NE(library.lastOptions.find("ProcessOptions/DocFeed=MANUAL"), std::string::npos);
}

TEST_F(ReadDocTest, TheMicrLineGoesToTheProcessorOfItsKind) {
  UseProfile("");
  const struct {
    std::string micr;
    std::vector<std::string> calls;
  } cases[] = {
      {kChequeLine, {"Cheque(" + kChequeLine + ")"}},
      {"T123456789T 1234567U 0123", {"US(T123456789T 1234567U 0123)"}},
      {"12345", {"Unidentified(12345)"}},
      {"NO MICR", {}},
      {"", {}},  // nothing read: nothing typed
  };
  for (const auto& c : cases) {
    processors.calls.clear();
    boxes = {};
    Reply(c.micr);
    Read(DocFeed::kAutoFeed);
    EXPECT_EQ(processors.calls, c.calls) << c.micr;
    EXPECT_EQ(boxes.Shown().size(), c.calls.empty() ? 1u : 0u) << "a document no processor takes is told: " << c.micr;
  }
  EXPECT_TRUE(trace.Contains("Operator told: No MICR line was read: nothing is typed and no image is saved"));
}

TEST_F(ReadDocTest, AFailedReadOrANonZeroReturnCodeEndsTheReadAndTheOperatorIsTold) {
  UseProfile("");
  const struct {
    int32_t readStatus;
    std::string returnCode;
    bool processed;
  } cases[] = {
      {0, "0", true}, {0, "", true}, {0, "none", true}, {0, "3", false}, {5, "0", false},
  };
  for (const auto& c : cases) {
    processors.calls.clear();
    boxes = {};
    library.processResult = c.readStatus;
    library.documentReply = "CommandStatus/ReturnCode=" + c.returnCode + "\nDocInfo/MICRRaw=" + kChequeLine + "\n";
    Read(DocFeed::kManual);
    EXPECT_EQ(processors.calls.size(), c.processed ? 1u : 0u) << c.readStatus << "/" << c.returnCode;
    EXPECT_EQ(boxes.Shown().size(), c.processed ? 0u : 1u) << c.readStatus << "/" << c.returnCode;
  }
  settings.deviceName = "ImageSafe.ImageSafe001";  // asked on every tick: a failure may be no document
  boxes = {};
  Read(DocFeed::kAll);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ReadDocTest, AnImageSafeReaderSaysWhatItRead) {
  UseProfile("");
  settings.deviceName = "ImageSafe.ImageSafe001";
  settings.msrTracks = "1";
  const struct {
    std::string kind;
    std::string docType;
    std::vector<std::string> calls;
  } cases[] = {
      {"CHECK", "MANUAL", {"Cheque(" + kChequeLine + ")"}},
      {"MSR", "MSR", {"Stripe(%B1234)"}},
      {"ID", "ID", {}},
      {"NONE", "ALL", {}},
      {"OTHER", "ALL", {"Cheque(" + kChequeLine + ")"}},
  };
  for (const auto& c : cases) {
    processors.calls.clear();
    Reply(kChequeLine, 0, "MSRInfo/TrackData1=%B1234\n<ResponseType>" + c.kind + "</ResponseType>\n");
    EXPECT_EQ(Read(DocFeed::kAll), c.docType) << c.kind;
    EXPECT_EQ(processors.calls, c.calls) << c.kind;
  }
}

TEST_F(ReadDocTest, AStripeReadProcessesTheListedTracksInTheirOrder) {
  UseProfile("");
  const struct {
    std::string tracks;
    std::vector<std::string> calls;
  } cases[] = {
      {"2", {"Stripe(;22)"}},
      {"12", {"Stripe(%B11)", "Stripe(;22)"}},
      {"321", {"Stripe(%B11)", "Stripe(;22)", "Stripe()"}},  // a failing track does not stop the next
  };
  for (const auto& c : cases) {
    processors.calls.clear();
    settings.msrTracks = c.tracks;
    library.documentReply = "MSRInfo/TrackData1=%B11 \nMSRInfo/TrackData2=;22\n";
    Read(DocFeed::kMsr);
    EXPECT_EQ(processors.calls, c.calls) << c.tracks;
  }
}

TEST_F(ReadDocTest, AnImageThatFailsIsAskedForAgainAfterHalfASecond) {
  UseProfile("LetUserFillDetails=2\n");
  Reply(kChequeLine, 3);
  processors.imageNames = {"front.jpg", ""};
  library.images.erase("img/3");  // the preview never arrives
  library.failingImageCalls = 2;  // the front arrives at the third attempt
  Read(DocFeed::kManual);
  EXPECT_EQ(clock.sleeps, std::vector<std::chrono::milliseconds>(12, 500ms));
  EXPECT_TRUE(trace.Contains("Retry #10 to get preview image"));
  EXPECT_FALSE(trace.Contains("Retry #11 to get preview image"));
  EXPECT_EQ(trace.Count("Retrying to get front image"), 2);
  EXPECT_EQ(File("front.jpg"), "FRONT");
}

TEST_F(ReadDocTest, AScanOverrideNameSavesTheDocumentUnprocessed) {
  UseProfile("ScanOverrideFileNameTemplate=scans\\{YYYY}{MM}{DD}_{HH}{NN}{SS}.jpg\n");
  Reply(kChequeLine);
  Read(DocFeed::kManual);
  EXPECT_TRUE(processors.calls.empty());
  EXPECT_EQ(File("scans\\20260305_140709.jpg"), "FRONT");
}

TEST_F(ReadDocTest, AnIdCardIsSavedUnderItsTemplateWithTheOperatorsName) {
  UseProfile("IDCardImagePath=ids\\{User}_{YYYY}.jpg\n");
  Reply("", 2);
  prompt.answers = {"cohen:d"};
  Read(DocFeed::kId);
  EXPECT_EQ(prompt.asked, std::vector<std::string>{"בחר שם קובץ לתמונה"});
  EXPECT_EQ(File("ids\\cohen_d_2026.jpg"), "FRONT");
  EXPECT_EQ(library.calls.end(),
            std::find(library.calls.begin(), library.calls.end(), "MTMICRGetImage(EXCELLA_USB,img/2)"));
}

// The recovery folder's files as "name=content", the time stamp left out.
std::vector<std::string> UnsavedFiles() {
  std::vector<std::string> kept;
  if (!std::filesystem::exists(kUnsavedFolder)) {
    return kept;
  }
  for (const auto& entry : std::filesystem::directory_iterator(kUnsavedFolder)) {
    const std::string name = entry.path().filename().string();
    kept.push_back(name.substr(name.find('_') + 1) + "=" + ReadFileBytes(entry.path().string()).value_or(""));
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

// Whether every text is in the one box the operator saw.
::testing::AssertionResult OneBoxNames(const std::vector<Message>& shown, const std::vector<std::string>& texts) {
  if (shown.size() != 1) {
    return ::testing::AssertionFailure() << shown.size() << " boxes";
  }
  for (const std::string& text : texts) {
    if (shown[0].text.find(text) == std::string::npos) {
      return ::testing::AssertionFailure() << "no \"" << text << "\" in: " << shown[0].text;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(ReadDocTest, JoinedImagesNeverUseAnEarlierChequesBack) {
  UseProfile("CombineChequeImages=1\n");
  std::filesystem::create_directory("netpbm");
  WriteFileBytes(std::string(kTemporaryBack), "EARLIER BACK");
  Reply(kChequeLine);
  library.images.erase("img/2");
  processors.imageNames = {"c\\1.jpg", ""};
  Read(DocFeed::kManual);
  EXPECT_EQ(join.starts, 0) << "no back arrived: the front is saved alone";
  EXPECT_EQ(File("c\\1.jpg"), "FRONT");
  EXPECT_FALSE(File(std::string(kTemporaryFront)));
  EXPECT_TRUE(OneBoxNames(boxes.Shown(), {"c\\1-back.jpg", "לא התקבלה מהקורא"})) << "the missing back is told";
  boxes = {};

  library.images["img/2"] = "BACK";
  processors.imageNames = {"c\\2.jpg", ""};
  join.joinedBytes = "JOINED";
  Read(DocFeed::kManual);
  EXPECT_EQ(join.starts, 1);
  EXPECT_EQ(File(std::string(kTemporaryFront)), "FRONT");
  EXPECT_EQ(File(std::string(kTemporaryBack)), "BACK");
  read.SettleFinishedJoin();  // the next tick
  EXPECT_EQ(File("c\\2.jpg"), "JOINED");
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ReadDocTest, AnImageThatCannotGoWhereItBelongsIsKeptAndTheOperatorToldOnce) {
  const struct {
    const char* fault;
    std::function<void()> cause;
    std::vector<std::string> saved;    // in the data folder
    std::vector<std::string> unsaved;  // in the recovery folder
    std::vector<std::string> told;     // in the one box
  } cases[] = {
      {"a folder that cannot be written",
       [this] { files.Fail("Q:", test_support::DiskFault::kReadOnly); },
       {},
       {"Q__c_1-back.jpg=BACK", "Q__c_1.jpg=FRONT"},
       {"Q:\\c\\1.jpg", "Q:\\c\\1-back.jpg", "Unsaved\\", "הצ'ק מספר 0001234"}},
      {"a share gone offline",
       [this] { files.Fail("Q:", test_support::DiskFault::kOffline); },
       {},
       {"Q__c_1-back.jpg=BACK", "Q__c_1.jpg=FRONT"},
       {"Q:\\c\\1.jpg"}},
      {"a transfer that never succeeds",
       [this] { library.failingImageCalls = 100; },
       {},
       {},
       {"Q:\\c\\1.jpg", "Q:\\c\\1-back.jpg", "לא התקבלה מהקורא"}},
      {"a size above 64 MB",
       [this] { Reply(kChequeLine, 0, "ImageInfo/ImageSize#1=67108865\nImageInfo/ImageURL#1=img/1\n"); },
       {},
       {},
       {"Q:\\c\\1.jpg", "לא התקבלה מהקורא"}},
      {"a processor that stops with an error", [this] { processors.throws = true; }, {}, {}, {"Error #5"}},
  };
  UseProfile("");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    std::filesystem::remove_all(kUnsavedFolder);
    files.Heal();
    boxes = {};
    library.failingImageCalls = 0;
    processors.throws = false;
    processors.imageNames = {"Q:\\c\\1.jpg", "Q:\\c\\1-back.jpg"};
    processors.documentName = "הצ'ק מספר 0001234";
    Reply(kChequeLine);
    c.cause();
    Read(DocFeed::kManual);
    EXPECT_EQ(UnsavedFiles(), c.unsaved);
    EXPECT_TRUE(OneBoxNames(boxes.Shown(), c.told));
    EXPECT_EQ(boxes.Shown()[0].title, kTitleInformation);
    EXPECT_EQ(boxes.Shown()[0].icon, MessageIcon::Exclamation);
  }
  EXPECT_TRUE(trace.Contains("ImageSize 67108865 of image 1 is above 64 MB: the image is skipped"));
}

TEST_F(ReadDocTest, AJoinsImagesReachTheChequeOrTheRecoveryFolderAndARunningJoinIsNeverOvertaken) {
  UseProfile("CombineChequeImages=1\n");
  std::filesystem::create_directory("netpbm");
  Reply(kChequeLine);
  processors.imageNames = {"c\\1.jpg", ""};

  join.outcome = ImageJoin::Outcome::kFailed;
  Read(DocFeed::kManual);
  read.SettleFinishedJoin();
  EXPECT_EQ(UnsavedFiles(), (std::vector<std::string>{"c_1-back.jpg=BACK", "c_1.jpg=FRONT"}));
  EXPECT_TRUE(OneBoxNames(boxes.Shown(), {"c\\1.jpg", "c\\1-back.jpg"}));
  EXPECT_FALSE(File(std::string(kTemporaryFront))) << "the temporaries went into the recovery folder";
  std::filesystem::remove_all(kUnsavedFolder);
  boxes = {};

  join.outcome = ImageJoin::Outcome::kRunning;  // a join slower than the next cheque
  Read(DocFeed::kManual);
  processors.imageNames = {"c\\2.jpg", ""};
  library.images = {{"img/1", "FRONT 2"}, {"img/2", "BACK 2"}};
  Read(DocFeed::kManual);
  EXPECT_EQ(join.starts, 2) << "the second cheque starts no join of its own";
  EXPECT_EQ(join.waits.back(), kJoinWaitBound);
  EXPECT_EQ(File(std::string(kTemporaryFront)), "FRONT") << "the running join's images are left alone";
  EXPECT_EQ(File(std::string(kTemporaryBack)), "BACK");
  EXPECT_EQ(File("c\\2.jpg"), "FRONT 2") << "saved unjoined";
  EXPECT_EQ(UnsavedFiles(), std::vector<std::string>{"c_2-back.jpg=BACK 2"});
  EXPECT_TRUE(OneBoxNames(boxes.Shown(), {"c\\2-back.jpg"}));
}

TEST_F(ReadDocTest, TheDebugEntryNeverTouchesTheReader) {
  Read(DocFeed::kDebug);
  EXPECT_TRUE(library.calls.empty());
  EXPECT_EQ(processors.calls, std::vector<std::string>{"Cheque(DEBUG)"});
}

}  // namespace
}  // namespace orvex
