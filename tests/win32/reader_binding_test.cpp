// The reader library binding over the project's virtual reader (mtxmlmcr.dll of the build tree),
// each test with its own reader folder named by ORVEX_VIRTUAL_READER.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/extract_between.h"
#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/wide_win32.h"
#include "reader/reader_library_win32.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"
#include "wic_image_win32.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
constexpr char kDevice[] = "EXCELLA_USB";

// The build tree's top folder, where the virtual reader is built (the tests run two levels below).
fs::path BuildFolder() {
  return ProgramFolder().parent_path().parent_path();
}

class ReaderBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"ORVEX_VIRTUAL_READER", folder.Path().c_str());
    library = LoadReaderLibrary(BuildFolder());
  }
  void TearDown() override {
    library.reset();
    SetEnvironmentVariableW(L"ORVEX_VIRTUAL_READER", nullptr);
  }

  void WriteFile(const std::string& name, const std::string& text) const {
    fs::create_directories(fs::path(folder.File(name)).parent_path());
    WriteFileBytes(folder.File(name), text);
  }
  void WaitingDocument(const std::string& name, const std::string& body) const {
    WriteFile("inbox\\" + name, "[Document]\r\n" + body);
  }

  std::string Query(const std::string& query) {
    std::string reply;
    int32_t capacity = kReaderBufferCapacity;
    library->MTMICRQueryInfo(kDevice, query, reply, capacity);
    return reply;
  }
  std::string Value(const std::string& reply, const std::string& section, const std::string& key) {
    std::string value;
    int32_t capacity = kReaderBufferCapacity;
    library->MTMICRGetValue(reply, section, key, value, capacity);
    return value;
  }
  std::string IndexValue(const std::string& reply, const std::string& section, const std::string& key, int32_t index) {
    std::string value;
    int32_t capacity = kReaderBufferCapacity;
    library->MTMICRGetIndexValue(reply, section, key, index, value, capacity);
    return value;
  }

  // The options of a manual cheque read with front, back and the grey preview.
  std::string ChequeOptions(const std::string& docFeed = "MANUAL", int32_t feedTimeout = 0) {
    std::string options;
    int32_t capacity = kReaderBufferCapacity;
    library->MTMICRSetValue(options, "ProcessOptions", "DocFeedTimeout", std::to_string(feedTimeout), capacity);
    library->MTMICRSetValue(options, "ProcessOptions", "DocFeed", docFeed, capacity);
    library->MTMICRSetValue(options, "ImageOptions", "Number", "3", capacity);
    const char* sides[] = {"FRONT", "BACK", "FRONT"};
    const char* resolutions[] = {"200X200", "200X200", "100X100"};
    for (int32_t i = 1; i <= 3; ++i) {
      library->MTMICRSetIndexValue(options, "ImageOptions", "ImageSide", i, sides[i - 1], capacity);
      library->MTMICRSetIndexValue(options, "ImageOptions", "Resolution", i, resolutions[i - 1], capacity);
    }
    library->MTMICRSetIndexValue(options, "ImageOptions", "ImageColor", 3, "GRAY8", capacity);
    return options;
  }

  // Reads one document; the status of the read goes to readStatus.
  std::string Read(const std::string& options) {
    std::string reply;
    int32_t capacity = kReaderBufferCapacity;
    readStatus = library->MTMICRProcessCheck(kDevice, options, reply, capacity);
    return reply;
  }

  int32_t FetchImage(const std::string& reply, int32_t index, std::string& bytes) {
    int32_t byteCount = std::stoi(IndexValue(reply, "ImageInfo", "ImageSize", index));
    return library->MTMICRGetImage(kDevice, IndexValue(reply, "ImageInfo", "ImageURL", index), bytes, byteCount);
  }

  test_support::TempFolder folder;
  std::unique_ptr<ReaderLibrary> library;
  int32_t readStatus = -1;
};

TEST_F(ReaderBindingTest, TheStatusShowsDocPresentForTheFeederOfTheFirstWaitingDocument) {
  const char* feeders[] = {"ManualFeeder", "IDFeeder", "AutoFeeder", "MSR"};
  for (const char* waiting : feeders) {
    WaitingDocument("1.ini", std::string("Feeder=") + waiting + "\r\n");
    WaitingDocument("2.ini", "Feeder=MSR\r\n");
    const std::string status = Query("DeviceStatus");
    for (const char* feeder : feeders) {
      EXPECT_EQ(Value(status, "DeviceStatus", feeder).starts_with("DOCPRESENT"), std::string(feeder) == waiting)
          << waiting << " waits; status of " << feeder;
    }
  }
}

TEST_F(ReaderBindingTest, AnEmptyInboxShowsNoDocument) {
  EXPECT_FALSE(Value(Query("DeviceStatus"), "DeviceStatus", "ManualFeeder").starts_with("DOCPRESENT"));
}

TEST_F(ReaderBindingTest, EveryQueryIsLoggedWithItsName) {
  Query("DeviceCapabilities");
  Query("DeviceStatus");
  EXPECT_EQ(ReadFileBytes(folder.File("calls.log")),
            "MTMICRQueryInfo\tEXCELLA_USB\tDeviceCapabilities\r\nMTMICRQueryInfo\tEXCELLA_USB\tDeviceStatus\r\n");
}

TEST_F(ReaderBindingTest, AnMdxReaderReportsTheStateOfTheWaitingDocument) {
  const struct {
    const char* feeder;
    const char* state;
  } cases[] = {{"ManualFeeder", "CHECKREADY"}, {"MSR", "MSRREADY"}};
  WriteFile("device.ini", "[Device]\r\nMachineType=MDX1000\r\n");
  for (const auto& c : cases) {
    WaitingDocument("1.ini", std::string("Feeder=") + c.feeder + "\r\n");
    EXPECT_EQ(Value(Query("DeviceStatus"), "DeviceStatus", "State"), c.state) << c.feeder;
  }
  EXPECT_EQ(GetExcellaMachineType(*library, kDevice), "MDX1000");
}

TEST_F(ReaderBindingTest, TheDeviceFileSetsTheInkAndTheOpenResult) {
  EXPECT_EQ(library->MTMICROpenDevice(kDevice), 0) << "without device.ini the device opens";
  EXPECT_EQ(GetExcellaMachineType(*library, kDevice), "Excella");
  WriteFile("device.ini", "[Device]\r\nInk=LOW\r\nFrontInk=OK\r\nOpenResult=7\r\n");
  const std::string status = Query("DeviceStatus");
  EXPECT_EQ(Value(status, "DeviceStatus", "Ink"), "LOW");
  EXPECT_EQ(Value(status, "DeviceStatus", "FrontInk"), "OK");
  EXPECT_EQ(library->MTMICROpenDevice(kDevice), 7);
  EXPECT_FALSE(Query("DeviceUsage").empty());
}

TEST_F(ReaderBindingTest, AChequeReadGivesItsMicrLineAndJpegImagesAndMovesItsFileToDone) {
  WaitingDocument("0001.ini", "Feeder=ManualFeeder\r\nMICR=12345678<123<45<678901<\r\n");
  const std::string options = ChequeOptions();
  const std::string reply = Read(options);

  EXPECT_EQ(readStatus, 0);
  EXPECT_EQ(Value(reply, "CommandStatus", "ReturnCode"), "0");
  EXPECT_EQ(Value(reply, "DocInfo", "MICRRaw"), "12345678<123<45<678901<");
  EXPECT_EQ(ExtractBetween(1, reply, "ResponseType>", "</ResponseType"), "CHECK");
  images::ComInitialization com;
  int32_t widths[4] = {};
  for (int32_t index = 1; index <= 3; ++index) {
    std::string bytes;
    ASSERT_EQ(FetchImage(reply, index, bytes), 0) << index;
    EXPECT_EQ(std::to_string(bytes.size()), IndexValue(reply, "ImageInfo", "ImageSize", index));
    EXPECT_TRUE(bytes.starts_with("\xFF\xD8")) << "a JPEG file, image " << index;
    const std::optional<images::Picture> picture = images::DecodePicture(bytes);
    ASSERT_TRUE(picture) << index;
    widths[index] = static_cast<int32_t>(picture->width);
  }
  EXPECT_EQ(widths[1], widths[2]);
  EXPECT_EQ(widths[3], widths[1] / 2) << "the preview at half the resolution";
  EXPECT_FALSE(fs::exists(folder.File("inbox\\0001.ini")));
  EXPECT_TRUE(fs::exists(folder.File("done\\0001.ini")));

  const std::string log = ReadFileBytes(folder.File("calls.log")).value_or("");
  EXPECT_NE(log.find("MTMICRProcessCheck\tEXCELLA_USB\t" + options + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MTMICRGetImage\tEXCELLA_USB\r\n"), std::string::npos);
}

// The inbox's time set to one long past and kept there, as a file system that keeps a folder's
// time coarsely shows it while the reader moves documents out of it.
void PinFolderTime(const std::string& utf8Path) {
  const UniqueHandle folder(CreateFileW(ToWide(utf8Path).c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const FILETIME longAgo{0, 0x01D00000};
  ASSERT_TRUE(SetFileTime(folder.Get(), nullptr, nullptr, &longAgo));
}

TEST_F(ReaderBindingTest, EveryDocumentIsReadOnceWhateverTheInboxsTimeShows) {
  WaitingDocument("1.ini", "MICR=1\r\n");
  WaitingDocument("2.ini", "MICR=2\r\n");
  for (const char* micr : {"1", "2"}) {
    PinFolderTime(folder.File("inbox"));
    EXPECT_TRUE(Value(Query("DeviceStatus"), "DeviceStatus", "ManualFeeder").starts_with("DOCPRESENT"));
    EXPECT_EQ(Value(Read(ChequeOptions()), "DocInfo", "MICRRaw"), micr);
  }
  PinFolderTime(folder.File("inbox"));
  EXPECT_FALSE(Value(Query("DeviceStatus"), "DeviceStatus", "ManualFeeder").starts_with("DOCPRESENT"));
}

TEST_F(ReaderBindingTest, ImageFilesNamedByTheDocumentAreDeliveredAsTheyAre) {
  WriteFile("inbox\\pictures\\front.jpg", "front bytes");
  WaitingDocument("1.ini", "Front=pictures\\front.jpg\r\n");
  const std::string reply = Read(ChequeOptions());
  std::string front;
  ASSERT_EQ(FetchImage(reply, 1, front), 0);
  EXPECT_EQ(front, "front bytes");
}

TEST_F(ReaderBindingTest, TheFirstImageTransfersFailAsTheDocumentSays) {
  WaitingDocument("1.ini", "ImageFailures=2\r\n");
  const std::string reply = Read(ChequeOptions());
  std::string bytes;
  EXPECT_NE(FetchImage(reply, 1, bytes), 0);
  EXPECT_NE(FetchImage(reply, 1, bytes), 0);
  EXPECT_EQ(FetchImage(reply, 1, bytes), 0);
  EXPECT_FALSE(bytes.empty());
}

TEST_F(ReaderBindingTest, ATransferDeliversTheRealImageAsFarAsTheBufferOfTheClaimedSizeGoes) {
  const struct {
    const char* claim;
    int32_t status;
    const char* delivered;
  } cases[] = {
      {"ImageSize=100000000", 0, "front bytes"},
      {"ImageSize=11", 0, "front bytes"},
      {"ImageSize=5", 2, "front"},
  };
  WriteFile("inbox\\front.jpg", "front bytes");
  for (const auto& c : cases) {
    WaitingDocument("1.ini", std::string("Front=front.jpg\r\n") + c.claim + "\r\n");
    const std::string reply = Read(ChequeOptions());
    std::string bytes;
    EXPECT_EQ(FetchImage(reply, 1, bytes), c.status) << c.claim;
    EXPECT_EQ(bytes, c.delivered) << c.claim;
  }
}

TEST_F(ReaderBindingTest, EveryImageTransferOfASlowDocumentWaitsItsTime) {
  WaitingDocument("1.ini", "ImageMs=300\r\nImageFailures=1\r\n");
  const std::string reply = Read(ChequeOptions());
  std::string bytes;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(FetchImage(reply, 1, bytes), 0);
  EXPECT_EQ(FetchImage(reply, 1, bytes), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
}

// A log's size and last characters, or "<none>": a megabyte of text is no message to read.
std::string Summary(const std::optional<std::string>& log) {
  if (!log) {
    return "<none>";
  }
  return std::to_string(log->size()) + " bytes ending in " +
         log->substr(log->size() - std::min<size_t>(log->size(), 12));
}

TEST_F(ReaderBindingTest, TheCallLogBecomesCallsLog1WhenALineWouldTakeItPast1MiB) {
  constexpr size_t kLimit = 1024 * 1024;
  const std::string line = "MTMICRQueryInfo\tEXCELLA_USB\tDeviceUsage\r\n";
  const struct {
    size_t logged;      // the size of calls.log before the call
    const char* older;  // calls.log.1 before the call, when there is one
    bool renamed;
  } cases[] = {
      {kLimit - line.size(), nullptr, false},
      {kLimit - line.size() + 1, nullptr, true},
      {kLimit - line.size() + 1, "older", true},
      {kLimit + 5000, nullptr, true},
  };
  for (const auto& c : cases) {
    const test_support::TempFolder reader;
    SetEnvironmentVariableW(L"ORVEX_VIRTUAL_READER", reader.Path().c_str());
    const std::string logged(c.logged, 'x');
    WriteFileBytes(reader.File("calls.log"), logged);
    if (c.older) {
      WriteFileBytes(reader.File("calls.log.1"), c.older);
    }
    Query("DeviceUsage");
    const std::optional<std::string> older = c.older ? std::optional<std::string>(c.older) : std::nullopt;
    EXPECT_EQ(Summary(ReadFileBytes(reader.File("calls.log"))), Summary(c.renamed ? line : logged + line)) << c.logged;
    EXPECT_EQ(Summary(ReadFileBytes(reader.File("calls.log.1"))), Summary(c.renamed ? logged : older)) << c.logged;
  }
}

TEST_F(ReaderBindingTest, TheDocumentsReturnCodeAndStatusReachTheProgram) {
  WaitingDocument("1.ini", "ReturnCode=3\r\nStatus=5\r\n");
  const std::string reply = Read(ChequeOptions());
  EXPECT_EQ(readStatus, 5);
  EXPECT_EQ(Value(reply, "CommandStatus", "ReturnCode"), "3");
}

TEST_F(ReaderBindingTest, HebrewInADocumentReachesTheProgramAsTheSameText) {
  WaitingDocument("1.ini", "Feeder=MSR\r\nTrack1=%B4580000000000000^ישראל ישראלי^2512?\r\n");
  const std::string reply = Read(ChequeOptions("MSR"));
  EXPECT_EQ(ExtractBetween(1, reply, "ResponseType>", "</ResponseType"), "MSR");
  EXPECT_EQ(Value(reply, "MSRInfo", "TrackData1"), "%B4580000000000000^ישראל ישראלי^2512?");
}

TEST_F(ReaderBindingTest, AReadForAFeederWithNoDocumentAnswersNone) {
  WaitingDocument("1.ini", "Feeder=IDFeeder\r\n");
  const std::string reply = Read(ChequeOptions("MANUAL", 50));
  EXPECT_EQ(ExtractBetween(1, reply, "ResponseType>", "</ResponseType"), "NONE");
  EXPECT_NE(Value(reply, "CommandStatus", "ReturnCode"), "0");
  EXPECT_TRUE(fs::exists(folder.File("inbox\\1.ini"))) << "the ID card still waits";
}

// Without the fixture: a library already loaded would be found by its plain name.
TEST(ReaderBinding, AMissingLibraryIsTracedAndDoesNotOpen) {
  test_support::TraceCapture trace;
  const test_support::TempFolder empty;
  const std::unique_ptr<ReaderLibrary> missing = LoadReaderLibrary(empty.Path());
  EXPECT_NE(missing->MTMICROpenDevice(kDevice), 0);
  EXPECT_EQ(GetExcellaMachineType(*missing, kDevice), "");
  ASSERT_EQ(trace.Messages().size(), 1u);
  EXPECT_TRUE(trace.Messages()[0].starts_with("Cannot load the reader library " + empty.File("mtxmlmcr.dll") +
                                              ": Windows error 126"))
      << trace.Messages()[0];
}

}  // namespace
}  // namespace orvex
