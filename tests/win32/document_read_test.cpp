// Documents read from the virtual reader through the real library binding, as the program reads
// them: first with recorded processors (what the read itself does), then through the real
// processors into the recording target window (what the operator's program receives).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "base/file_io.h"
#include "keys/engines_win32.h"
#include "keys_target_client.h"
#include "reader/device_connection.h"
#include "reader/image_join_win32.h"
#include "reader/read_doc.h"
#include "reader/reader_library_win32.h"
#include "support/current_folder.h"
#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/fake_shell.h"
#include "support/processing_harness.h"
#include "support/recording_reader_clients.h"
#include "support/scripted_prompt.h"
#include "support/temp_folder.h"
#include "wic_image_win32.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kChequeLine = "A0001234 C12A34567E 000123456A";

// The build tree's top folder: the virtual reader and netpbm\ are built there (the tests run two
// levels below).
fs::path BuildFolder() {
  return ProgramFolder().parent_path().parent_path();
}

std::optional<images::Picture> DecodedFile(const std::string& name) {
  const std::optional<std::string> bytes = ReadFileBytes(name);
  return bytes ? images::DecodePicture(*bytes) : std::nullopt;
}

// A program folder with the joining script, made current, and a reader folder with its inbox.
class ReaderFolders : public ::testing::Test {
 protected:
  ReaderFolders() {
    fs::copy(BuildFolder() / "netpbm", program.Path() / "netpbm");
    SetEnvironmentVariableW(L"ORVEX_VIRTUAL_READER", reader.Path().c_str());
    settings.deviceName = "STX_USB";
    settings.msrTracks = "2";
    settings.machineType = "Excella";
  }
  ~ReaderFolders() override { SetEnvironmentVariableW(L"ORVEX_VIRTUAL_READER", nullptr); }

  void WaitingDocument(const std::string& name, const std::string& body) const {
    fs::create_directories(reader.Path() / "inbox");
    WriteFileBytes(reader.File("inbox\\" + name), "[Document]\r\n" + body);
  }
  bool Saved(const std::string& name) const { return fs::is_regular_file(program.Path() / name); }

  test_support::TempFolder program;
  test_support::TempFolder reader;
  test_support::CurrentFolder current{program.Path()};
  images::ComInitialization com;
  std::unique_ptr<ReaderLibrary> library = LoadReaderLibrary(BuildFolder());
  GlobalSettings settings;
  ProfileSettings profile = DefaultProfileSettings();
  test_support::ScriptedPrompt prompt;
  test_support::FakeClock clock;
};

class DocumentReadFromVirtualReader : public ReaderFolders {
 protected:
  void Read(DocFeed feed) {
    read.ReadDoc(feed, 500);
    read.SettleJoin(20s);
  }

  test_support::RecordingProcessors processors;
  CombinePicsJoin join{(program.Path() / "netpbm" / "CombinePics.bat").wstring()};
  DiskFiles files;
  test_support::FakeMessageBoxes boxes;
  DocumentTrail trail{files, clock, boxes};
  DocumentRead read{{*library, settings, profile, processors, prompt, join, clock, files, trail}};
};

TEST_F(DocumentReadFromVirtualReader, AJoinedChequeIsItsFrontAboveItsBack) {
  WaitingDocument("1.ini", "MICR=" + kChequeLine + "\r\n");
  WaitingDocument("2.ini", "MICR=" + kChequeLine + "\r\n");
  processors.imageNames = {"apart\\front.jpg", "apart\\back.jpg"};
  Read(DocFeed::kManual);
  profile.CombineChequeImages = true;
  processors.imageNames = {"joined\\cheque.jpg", ""};
  Read(DocFeed::kManual);

  EXPECT_EQ(processors.calls, std::vector<std::string>(2, "Cheque(" + kChequeLine + ")"));
  const auto front = DecodedFile("apart\\front.jpg");
  const auto back = DecodedFile("apart\\back.jpg");
  const auto joined = DecodedFile("joined\\cheque.jpg");
  ASSERT_TRUE(front && back && joined);
  EXPECT_EQ(joined->height, front->height + back->height);
  EXPECT_FALSE(Saved("netpbm\\tmp-front.jpg") || Saved("netpbm\\tmp-back.jpg")) << "the joiner removed them";
}

TEST_F(DocumentReadFromVirtualReader, AnIdCardIsSavedAloneUnderItsTemplate) {
  WaitingDocument("id.ini", "Feeder=IDFeeder\r\n");
  profile.IDCardImagePath = "ids\\card{YYYY}.jpg";
  Read(DocFeed::kId);
  EXPECT_TRUE(DecodedFile("ids\\card2026.jpg"));
  EXPECT_TRUE(processors.calls.empty());
}

TEST_F(DocumentReadFromVirtualReader, AStripeCardGoesToTheStripeProcessorTrackByTrack) {
  WaitingDocument("card.ini",
                  "Feeder=MSR\r\nTrack1=%B4580123456789012^DOE/JOHN^2712101?\r\n"
                  "Track2=;4580123456789012=27121010000?\r\n");
  Read(DocFeed::kMsr);
  EXPECT_EQ(processors.calls, std::vector<std::string>{"Stripe(;4580123456789012=27121010000?)"});
}

TEST_F(DocumentReadFromVirtualReader, AReaderFaultLosesNoDocumentWithoutTellingTheOperator) {
  const struct {
    const char* fault;  // the document's keys
    bool processed;
    std::vector<const char*> saved;
    const char* told;  // in the one box; nullptr: no box
  } cases[] = {
      {"ReturnCode=3", false, {}, "הקורא לא הצליח לקרוא את המסמך"},
      {"Status=4", false, {}, "הקורא לא הצליח לקרוא את המסמך"},
      {"ReplyValues=NONE", false, {}, "MICR"},
      {"ImageFailures=9", true, {}, "c.jpg"},
      {"ImageSize=100000000", true, {}, "c-back.jpg"},
      {"ImageMs=300", true, {"c.jpg", "c-back.jpg"}, nullptr},  // slow, but whole
  };
  processors.imageNames = {"c.jpg", "c-back.jpg"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    processors.calls.clear();
    boxes = {};
    fs::remove(program.Path() / "c.jpg");
    fs::remove(program.Path() / "c-back.jpg");
    WaitingDocument("doc.ini", "MICR=" + kChequeLine + "\r\n" + c.fault + "\r\n");
    Read(DocFeed::kManual);
    EXPECT_EQ(processors.calls.size(), c.processed ? 1u : 0u);
    for (const char* name : {"c.jpg", "c-back.jpg"}) {
      EXPECT_EQ(Saved(name), std::find(c.saved.begin(), c.saved.end(), std::string_view(name)) != c.saved.end())
          << name;
    }
    ASSERT_EQ(boxes.Shown().size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_NE(boxes.Shown()[0].text.find(c.told), std::string::npos) << boxes.Shown()[0].text;
    }
  }
}

TEST_F(DocumentReadFromVirtualReader, AFrontImageThatFailsTwiceArrivesAtTheThirdAttempt) {
  WaitingDocument("slow.ini", "MICR=" + kChequeLine + "\r\nImageFailures=2\r\n");
  processors.imageNames = {"c.jpg", ""};
  Read(DocFeed::kManual);
  EXPECT_TRUE(DecodedFile("c.jpg"));
  EXPECT_EQ(clock.sleeps, std::vector<std::chrono::milliseconds>(2, 500ms));
}

TEST(MissingReaderLibrary, EndsTheProgramUnlessStartedWithNoChk) {
  test_support::TempFolder empty;
  for (const bool noCheck : {false, true}) {
    const std::unique_ptr<ReaderLibrary> library = LoadReaderLibrary(empty.Path());
    test_support::FakeShell shell;
    test_support::FakeMessageBoxes boxes;
    const std::optional<std::string> machineType =
        DeviceConnection(*library, shell, boxes).OpenAtStartUp("STX_USB", noCheck);
    EXPECT_EQ(machineType.has_value(), noCheck);
    EXPECT_EQ(boxes.Shown().size(), noCheck ? 0u : 1u);
    EXPECT_EQ(shell.endedWithUnload.has_value(), !noCheck);
  }
}

// The recording target as the build tree holds it, whatever the current folder.
test_support::KeysTargetOptions TargetInBuildFolder() {
  test_support::KeysTargetOptions options;
  options.program = (BuildFolder() / "tools" / "keys_target" / "keys_target.exe").wstring();
  return options;
}

// The whole road of a document: the virtual reader, the read, the processors, the keys typed into
// the recording window, and the files written.
class DocumentTypedIntoTarget : public ReaderFolders {
 protected:
  DocumentTypedIntoTarget() {
    ini.SetPath(test_support::WriteIniFile(program, "OrvexExcella.ini",
                                           "[Teller]\n" + std::string(test_support::kSampleCuttingKeys) +
                                               "ChequeTemplate={ChequeNum}|{BankNum}|{BranchNum}|{AccountNum};\n"
                                               "ImageFileNameTemplate=img\\{ChequeNum}_{AccountNum}.jpg\n"
                                               "BackImageFileNameTemplate=img\\{ChequeNum}_{AccountNum}-back.jpg\n"
                                               "CreateXML=1\nCSVFile=cheques.csv\n"
                                               "MagStripe2Template={MagPart1}/{DateMM}/{DateYY};\n"
                                               "GenUSTemplate=US {MICR};\nGenUSFileNameTemplate=us.jpg\n"));
    profiles.SetProfileNames(ProfileSectionNames(ini));
    profiles.LoadProfile(1);
  }

  std::string ReadAndType(DocFeed feed) {
    return test_support::TypedText(target.Record([&] {
      DocumentRead({*library, settings, profiles.Settings(), processing, prompt, join, clock, files, trail})
          .ReadDoc(feed, 500);
    }));
  }

  test_support::KeysTargetProcess target{TargetInBuildFolder()};
  cInifile ini;
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  Win32KeyDelivery delivery;
  test_support::RecordingKeyDelivery host;
  KeyFeeder feeder{delivery, host};
  test_support::ScriptedChequeDialogs dialogs;
  test_support::FakeRestrictedAccounts restricted;
  test_support::FakeMessageBoxes boxes;
  BanksBranches banksBranches{{{12, 300, 400, 7, 7, 7, 7}}};
  DiskFiles files;
  DocumentTrail trail{files, clock, boxes};
  DocumentProcessing processing{profiles, feeder, dialogs,       prompt, restricted,
                                boxes,    clock,  banksBranches, files,  trail};
  test_support::RecordingJoin join;
};

TEST_F(DocumentTypedIntoTarget, AnIsraeliChequeIsTypedLoggedAndSaved) {
  ASSERT_TRUE(target.Ready());
  WaitingDocument("cheque.ini", "MICR=" + kChequeLine + "\r\n");
  EXPECT_EQ(ReadAndType(DocFeed::kManual), "1234|12|345|123456;");
  EXPECT_EQ(ReadFileBytes("cheques.csv"),
            "0001234,12,34567,000123456,14:07:09,05/03/2026,,,\"img\\1234_123456.jpg\"\r\n");
  EXPECT_TRUE(DecodedFile("img\\1234_123456.jpg"));
  EXPECT_TRUE(DecodedFile("img\\1234_123456-back.jpg"));
  EXPECT_EQ(ReadFileBytes("img\\1234_123456.xml"),
            "<Check>\r\n    <Number>1234</Number>\r\n    <Bank>12</Bank>\r\n    <Branch>345</Branch>\r\n"
            "    <Account>123456</Account>\r\n</Check>\r\n");
}

TEST_F(DocumentTypedIntoTarget, AStripeCardIsTypedWithItsExpiry) {
  ASSERT_TRUE(target.Ready());
  WaitingDocument("card.ini", "Feeder=MSR\r\nTrack2=;4580123456789012=27121010000?\r\n");
  EXPECT_EQ(ReadAndType(DocFeed::kMsr), "4580123456789012/12/27;");
}

TEST_F(DocumentTypedIntoTarget, AUsChequeIsTypedWhole) {
  ASSERT_TRUE(target.Ready());
  WaitingDocument("us.ini", "Feeder=AutoFeeder\r\nMICR=T123456789T 1234567U 0123\r\n");
  EXPECT_EQ(ReadAndType(DocFeed::kAutoFeed), "US T123456789T 1234567U 0123;");
  EXPECT_TRUE(DecodedFile("us.jpg"));
}

}  // namespace
}  // namespace orvex
