#include "virtual_documents.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text_codec.h"
#include "tagged_text.h"

namespace orvex::virtual_reader {
namespace {

std::string Value(const std::string& reply, const char* section, const char* key,
                  std::optional<int32_t> index = std::nullopt) {
  return GetTaggedValue(ParseTaggedText(reply), section, key, index).value_or("<missing>");
}

VirtualDocument Waiting(const char* name, Feeder feeder) {
  VirtualDocument document;
  document.fileName = name;
  document.feeder = feeder;
  return document;
}

TEST(VirtualDocument, AnEmptyDocumentFileIsAManualChequeThatReadsWell) {
  const VirtualDocument document = ParseDocument("1.ini", "[Document]\r\n");
  EXPECT_EQ(document.feeder, Feeder::kManual);
  EXPECT_EQ(document.micr, "");
  EXPECT_EQ(document.returnCode, 0);
  EXPECT_EQ(document.status, 0);
  EXPECT_EQ(document.imageFailures, 0);
  EXPECT_EQ(document.readMs, 0);
}

TEST(VirtualDocument, EveryKeyOfTheDocumentSectionIsRead) {
  const VirtualDocument document = ParseDocument("7.ini",
                                                 "\xEF\xBB\xBF; a stripe card\n"
                                                 "[Other]\nMICR=not this one\n"
                                                 "[document]\n"
                                                 "feeder = msr\n"
                                                 "MICR=123<\n"
                                                 "Track1=%B1^כהן^25?\r\n"
                                                 "Track2=;2=25?\n"
                                                 "Track3=3\n"
                                                 "ReturnCode=3\nStatus=-2\n"
                                                 "Front=f.jpg\nBack=sub\\b.jpg\n"
                                                 "ImageFailures=2\nReadMs=150\n");
  EXPECT_EQ(document.fileName, "7.ini");
  EXPECT_EQ(document.feeder, Feeder::kMsr);
  EXPECT_EQ(document.micr, "123<");
  EXPECT_EQ(document.tracks[0], "%B1^כהן^25?");
  EXPECT_EQ(document.tracks[1], ";2=25?");
  EXPECT_EQ(document.tracks[2], "3");
  EXPECT_EQ(document.returnCode, 3);
  EXPECT_EQ(document.status, -2);
  EXPECT_EQ(document.front, "f.jpg");
  EXPECT_EQ(document.back, "sub\\b.jpg");
  EXPECT_EQ(document.imageFailures, 2);
  EXPECT_EQ(document.readMs, 150);
}

TEST(VirtualDocument, FeederNames) {
  const struct {
    const char* name;
    Feeder feeder;
  } cases[] = {
      {"ManualFeeder", Feeder::kManual}, {"IDFeeder", Feeder::kId},
      {"AutoFeeder", Feeder::kAuto},     {"MSR", Feeder::kMsr},
      {"idfeeder", Feeder::kId},         {"Tray", Feeder::kManual},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDocument("1.ini", std::string("[Document]\nFeeder=") + c.name + "\n").feeder, c.feeder) << c.name;
  }
}

TEST(VirtualDocument, NumbersThatAreNotNumbersKeepTheirDefaults) {
  const VirtualDocument document =
      ParseDocument("1.ini", "[Document]\nReturnCode=x\nImageFailures=-3\nReadMs=soon\nStatus=4 (jam)\n");
  EXPECT_EQ(document.returnCode, 0);
  EXPECT_EQ(document.imageFailures, 0);
  EXPECT_EQ(document.readMs, 0);
  EXPECT_EQ(document.status, 4);
}

TEST(VirtualDocument, FaultKeysSetTheClaimedImageSizeTheTransferTimeAndTheReplysValues) {
  const struct {
    const char* keys;
    std::optional<int32_t> imageSize;
    int32_t imageMs;
    ReplyValues replyValues;
  } cases[] = {
      {"", std::nullopt, 0, ReplyValues::kAll},
      {"ImageSize=100000000\n", 100000000, 0, ReplyValues::kAll},
      {"ImageSize=0\n", 0, 0, ReplyValues::kAll},
      {"ImageSize=huge\n", std::nullopt, 0, ReplyValues::kAll},
      {"ImageMs=750\n", std::nullopt, 750, ReplyValues::kAll},
      {"ImageMs=-5\n", std::nullopt, 0, ReplyValues::kAll},
      {"ReplyValues=NONE\n", std::nullopt, 0, ReplyValues::kNone},
      {"replyvalues = none\n", std::nullopt, 0, ReplyValues::kNone},
      {"ReplyValues=ALL\n", std::nullopt, 0, ReplyValues::kAll},
      {"ReplyValues=SOME\n", std::nullopt, 0, ReplyValues::kAll},
  };
  for (const auto& c : cases) {
    const VirtualDocument document = ParseDocument("1.ini", std::string("[Document]\n") + c.keys);
    EXPECT_EQ(document.imageSize, c.imageSize) << c.keys;
    EXPECT_EQ(document.imageMs, c.imageMs) << c.keys;
    EXPECT_EQ(document.replyValues, c.replyValues) << c.keys;
  }
}

TEST(DeviceSettings, DefaultsAndValues) {
  const DeviceSettings defaults = ParseDeviceSettings("");
  EXPECT_EQ(defaults.machineType, "Excella");
  EXPECT_EQ(defaults.openResult, 0);
  EXPECT_EQ(defaults.ink, "OK");
  EXPECT_EQ(defaults.frontInk, "OK");
  const DeviceSettings set =
      ParseDeviceSettings("[Device]\r\nMachineType=MDX-2\r\nOpenResult=12\r\nInk=LOW\r\nFrontInk=LOW\r\n");
  EXPECT_EQ(set.machineType, "MDX-2");
  EXPECT_EQ(set.openResult, 12);
  EXPECT_EQ(set.ink, "LOW");
  EXPECT_EQ(set.frontInk, "LOW");
}

TEST(ChooseDocument, TheFirstDocumentWhoseFeederFitsTheReadsFeederOption) {
  const std::vector<VirtualDocument> waiting = {Waiting("1.ini", Feeder::kId), Waiting("2.ini", Feeder::kManual),
                                                Waiting("3.ini", Feeder::kMsr), Waiting("4.ini", Feeder::kManual)};
  const struct {
    const char* docFeed;
    std::optional<size_t> chosen;
  } cases[] = {
      {"ALL", 0},
      {"ID", 0},
      {"MANUAL", 1},
      {"MSR", 2},
      {"AUTOFEED", std::nullopt},
      {"", std::nullopt},
      {"manual", std::nullopt},  // options are the program's exact words
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseDocument(waiting, c.docFeed), c.chosen) << c.docFeed;
  }
  EXPECT_EQ(ChooseDocument({}, "ALL"), std::nullopt);
}

TEST(StatusReply, TheFeederOfTheFirstWaitingDocumentHasADocument) {
  const VirtualDocument first = Waiting("1.ini", Feeder::kAuto);
  const std::string reply = StatusReply(DeviceSettings{}, &first);
  EXPECT_EQ(Value(reply, "DeviceStatus", "AutoFeeder"), "DOCPRESENT");
  for (const char* other : {"ManualFeeder", "IDFeeder", "MSR"}) {
    EXPECT_NE(Value(reply, "DeviceStatus", other), "DOCPRESENT") << other;
  }
  EXPECT_EQ(Value(reply, "DeviceCapabilities", "MachineType"), "Excella");
  EXPECT_EQ(Value(reply, "DeviceStatus", "State"), "<missing>") << "only an MDX reader reports a state";
}

TEST(StatusReply, AnMdxReaderReportsItsState) {
  DeviceSettings mdx;
  mdx.machineType = "MDX 200";
  const struct {
    std::optional<Feeder> waiting;
    const char* state;
  } cases[] = {
      {Feeder::kManual, "CHECKREADY"},
      {Feeder::kMsr, "MSRREADY"},
      {Feeder::kId, "IDLE"},
      {std::nullopt, "IDLE"},
  };
  for (const auto& c : cases) {
    const VirtualDocument document = Waiting("1.ini", c.waiting.value_or(Feeder::kManual));
    EXPECT_EQ(Value(StatusReply(mdx, c.waiting ? &document : nullptr), "DeviceStatus", "State"), c.state);
  }
}

TEST(ReadRequest, TheReadsOptionsSayWhatImagesItWants) {
  TaggedText options;
  SetTaggedValue(options, "ProcessOptions", "DocFeed", std::nullopt, "MANUAL");
  SetTaggedValue(options, "ProcessOptions", "DocFeedTimeout", std::nullopt, "500");
  SetTaggedValue(options, "ImageOptions", "Number", std::nullopt, "3");
  SetTaggedValue(options, "ImageOptions", "ImageSide", 1, "BACK");
  SetTaggedValue(options, "ImageOptions", "Resolution", 2, "100X100");
  SetTaggedValue(options, "ImageOptions", "ImageColor", 3, "GRAY8");
  SetTaggedValue(options, "ImageOptions", "Resolution", 3, "9999X9999");
  const ReadRequest request = ParseReadRequest(FormatTaggedText(options));
  EXPECT_EQ(request.docFeed, "MANUAL");
  EXPECT_EQ(request.feedTimeoutMs, 500);
  ASSERT_EQ(request.images.size(), 3u);
  EXPECT_TRUE(request.images[0].back) << "as the options say";
  EXPECT_TRUE(request.images[1].back) << "image 2 is the back unless said otherwise";
  EXPECT_FALSE(request.images[2].back);
  EXPECT_EQ(request.images[1].dotsPerInch, 100);
  EXPECT_EQ(request.images[0].dotsPerInch, 200) << "default";
  EXPECT_EQ(request.images[2].dotsPerInch, 300) << "at most";
  EXPECT_TRUE(request.images[2].grey);
  EXPECT_FALSE(request.images[0].grey);
}

TEST(ReadRequest, AStripeReadWantsNoImages) {
  TaggedText options;
  SetTaggedValue(options, "ProcessOptions", "DocFeed", std::nullopt, "MSR");
  EXPECT_TRUE(ParseReadRequest(FormatTaggedText(options)).images.empty());
}

TEST(DocumentReply, CarriesTheDocumentAndItsImagesInTheLibrarysEncoding) {
  VirtualDocument document = Waiting("1.ini", Feeder::kId);
  document.returnCode = 3;
  document.micr = "123<";
  document.tracks[0] = "%Bלוי?";
  const std::string reply = DocumentReply(document, {{100, "a1"}, {0, "a2"}});
  EXPECT_EQ(Value(reply, "CommandStatus", "ReturnCode"), "3");
  EXPECT_EQ(Value(reply, "DocInfo", "ResponseType"), "ID");
  EXPECT_EQ(Value(reply, "DocInfo", "MICRRaw"), "123<");
  EXPECT_EQ(Value(reply, "MSRInfo", "TrackData1"), Utf8ToWindows1255("%Bלוי?"));
  EXPECT_EQ(Value(reply, "ImageInfo", "ImageSize", 1), "100");
  EXPECT_EQ(Value(reply, "ImageInfo", "ImageURL", 2), "a2");
  EXPECT_EQ(Value(reply, "ImageInfo", "ImageSize", 3), "<missing>");
  EXPECT_NE(reply.find("<ResponseType>ID</ResponseType>"), std::string::npos);
}

TEST(DocumentReply, WhatTheDocumentClaimsAndWithholds) {
  VirtualDocument document = Waiting("1.ini", Feeder::kManual);
  document.micr = "123<";
  document.tracks[1] = ";2=25?";
  VirtualDocument huge = document;
  huge.imageSize = 100000000;
  VirtualDocument bare = document;
  bare.returnCode = 4;
  bare.replyValues = ReplyValues::kNone;
  const struct {
    const VirtualDocument& document;
    const char* section;
    const char* key;
    std::optional<int32_t> index;
    const char* value;
  } cases[] = {
      {document, "ImageInfo", "ImageSize", 2, "50"},
      {huge, "ImageInfo", "ImageSize", 1, "100000000"},
      {huge, "ImageInfo", "ImageSize", 2, "100000000"},
      {huge, "ImageInfo", "ImageURL", 2, "a2"},
      {huge, "DocInfo", "MICRRaw", std::nullopt, "123<"},
      {bare, "CommandStatus", "ReturnCode", std::nullopt, "4"},
      {bare, "DocInfo", "ResponseType", std::nullopt, "<missing>"},
      {bare, "DocInfo", "MICRRaw", std::nullopt, "<missing>"},
      {bare, "MSRInfo", "TrackData2", std::nullopt, "<missing>"},
      {bare, "ImageInfo", "Number", std::nullopt, "<missing>"},
      {bare, "ImageInfo", "ImageSize", 1, "<missing>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Value(DocumentReply(c.document, {{100, "a1"}, {50, "a2"}}), c.section, c.key, c.index), c.value)
        << c.section << "/" << c.key << " " << c.index.value_or(0);
  }
}

TEST(DocumentReply, ResponseTypesOfTheFeeders) {
  const struct {
    Feeder feeder;
    const char* type;
  } cases[] = {{Feeder::kManual, "CHECK"}, {Feeder::kAuto, "CHECK"}, {Feeder::kId, "ID"}, {Feeder::kMsr, "MSR"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Value(DocumentReply(Waiting("1.ini", c.feeder), {}), "DocInfo", "ResponseType"), c.type);
  }
  EXPECT_EQ(Value(NoDocumentReply(), "DocInfo", "ResponseType"), "NONE");
  EXPECT_NE(Value(NoDocumentReply(), "CommandStatus", "ReturnCode"), "0") << "a read that got nothing failed";
}

TEST(DescribeCard, FrontAndBackDifferAndThePreviewIsSmaller) {
  VirtualDocument document = Waiting("0001.ini", Feeder::kManual);
  document.micr = "123<45<";
  const CardPicture front =
      DescribeCard(document, ImageRequest{.index = 1, .back = false, .grey = false, .dotsPerInch = 200});
  const CardPicture back =
      DescribeCard(document, ImageRequest{.index = 2, .back = true, .grey = false, .dotsPerInch = 200});
  const CardPicture preview =
      DescribeCard(document, ImageRequest{.index = 3, .back = false, .grey = true, .dotsPerInch = 100});
  EXPECT_NE(front.lines, back.lines);
  EXPECT_NE(std::ranges::find(front.lines, "123<45<"), front.lines.end());
  EXPECT_EQ(preview.width * 2, front.width);
  EXPECT_TRUE(preview.grey);
  EXPECT_GT(front.width, front.height);
}

TEST(CallLogLine, OneLinePerCall) {
  EXPECT_EQ(CallLogLine("MTMICROpenDevice", "EXCELLA_USB"), "MTMICROpenDevice\tEXCELLA_USB\r\n");
  EXPECT_EQ(CallLogLine("MTMICRProcessCheck", "X", "<A>\r\n<K>1</K></A>"),
            "MTMICRProcessCheck\tX\t<A>  <K>1</K></A>\r\n");
}

}  // namespace
}  // namespace orvex::virtual_reader
