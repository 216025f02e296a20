#include "reader/read_doc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/error.h"
#include "base/extract_between.h"
#include "base/file_io.h"
#include "base/trace.h"
#include "base/vb_convert.h"
#include "interpret/classification.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

// Capacity of every value read from a document reply.
constexpr int32_t kReplyValueCapacity = 1024;
// Attempts at each image and the wait after every failed one.
constexpr int32_t kPreviewAttempts = 10;
constexpr int32_t kImageAttempts = 4;
constexpr std::chrono::milliseconds kImageRetryWait{500};

bool IsChequeFeeder(std::string_view docType) {
  return docType == "MANUAL" || docType == "AUTOFEED" || docType == "ALL";
}

// Feeders whose front and back are joined into one picture when the profile asks for it.
bool JoinsImages(std::string_view docType) {
  return docType == "MANUAL" || docType == "AUTOFEED";
}

bool Saves(std::string_view name) {
  return !name.empty() && name.find(kDontSaveMarker) == std::string_view::npos;
}

void AddImageOptions(std::vector<ReaderOption>& options, int32_t index, const std::string& colour,
                     const std::string& resolution, std::string_view side) {
  options.push_back({"ImageOptions", "ImageColor", index, colour});
  options.push_back({"ImageOptions", "Resolution", index, resolution});
  options.push_back({"ImageOptions", "Compression", index, "JPEG"});
  options.push_back({"ImageOptions", "FileType", index, "JPG"});
  options.push_back({"ImageOptions", "ImageSide", index, std::string(side)});
}

void AddChequeOptions(std::vector<ReaderOption>& options, const ProfileSettings& profile, std::string_view machineType,
                      const LocalDateTime& now) {
  if (profile.LetUserFillDetails == 2) {
    options.push_back({"ImageOptions", "Number", 0, "3"});
    AddImageOptions(options, 3, "GRAY8", "100X100", "FRONT");
  } else {
    options.push_back({"ImageOptions", "Number", 0, "2"});
  }
  options.push_back({"ProcessOptions", "ReadMICR", 0, "ALL"});
  options.push_back({"ImageOptions", "ImageColor", 1, profile.FrontColorDepth});
  options.push_back({"ImageOptions", "ImageColor", 2, profile.BackColorDepth});
  options.push_back({"ImageOptions", "Resolution", 1, profile.FrontResolution});
  options.push_back({"ImageOptions", "Resolution", 2, profile.BackResolution});
  for (const int32_t index : {1, 2}) {
    options.push_back({"ImageOptions", "Compression", index, "JPEG"});
    options.push_back({"ImageOptions", "FileType", index, "JPG"});
  }
  options.push_back({"ImageOptions", "ImageSide", 2, "BACK"});
  options.push_back({"ImageOptions", "ImageSide", 1, "FRONT"});

  std::string endorse = "NO";
  if (!profile.EndorseBack.empty()) {
    endorse = "BACK";
    options.push_back({"Endorser", "PrintData", 0, ExpandTemplate(profile.EndorseBack, now)});
  }
  if (!profile.EndorseFront.empty()) {
    endorse = endorse == "BACK" ? "BOTH" : "FRONT";
    options.push_back({"Endorser", "PrintFrontData", 0, ExpandTemplate(profile.EndorseFront, now)});
  }
  if (machineType == "Excella" && endorse != "NO") {
    endorse = "YES";
  }
  options.push_back({"ProcessOptions", "Endorse", 0, endorse});
}

// The seconds of a measured interval as decimal text: "0.25", "3".
std::string SecondsText(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(elapsed.count()) / 1000.0);
  std::string seconds(text);
  seconds.erase(seconds.find_last_not_of('0') + 1);
  if (seconds.back() == '.') {
    seconds.pop_back();
  }
  return seconds;
}

void DeleteFileIfPresent(std::string_view path) {
  std::error_code ignored;
  std::filesystem::remove(ToFsPath(path), ignored);
}

bool HasContent(std::string_view path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(ToFsPath(path), error);
  return !error && size > 0;
}

}  // namespace

std::vector<ReaderOption> ReadOptions(std::string_view docType, int32_t docFeedTimeout, const ProfileSettings& profile,
                                      std::string_view machineType, const LocalDateTime& now) {
  std::vector<ReaderOption> options{
      {"Application", "Transfer", 0, "HTTP"},
      {"Application", "DocUnits", 0, "METRIC"},
      {"ProcessOptions", "DocFeedTimeout", 0, std::to_string(docFeedTimeout)},
      {"ProcessOptions", "DocFeed", 0, std::string(docType)},
      {"ProcessOptions", "RespondEarly", 0, "NO"},
  };
  if (docType == "ID") {
    options.push_back({"ProcessOptions", "Endorse", 0, "NO"});
    options.push_back({"ImageOptions", "Number", 0, "1"});
    options.push_back({"ProcessOptions", "ReadMICR", 0, "NO"});
    AddImageOptions(options, 1, profile.IDColorDepth, profile.IDResolution, "BACK");
  } else if (IsChequeFeeder(docType)) {
    AddChequeOptions(options, profile, machineType, now);
  }
  return options;
}

void DocumentRead::ReadDoc(std::string& docType, int32_t docFeedTimeout) {
  if (docType == "DEBUG") {
    context_.processors.ParseAndFeedCheque("DEBUG", "", "", false);
    return;
  }
  std::string replyText;
  if (!PullDocument(docType, docFeedTimeout, replyText)) {
    return;
  }
  ++documentsRead_;
  std::string imageNames;
  RunSkippingError([&] { imageNames = ProcessDocument(docType, replyText); });
  RunSkippingError([&] { SaveImages(docType, imageNames, replyText); });
}

bool DocumentRead::PullDocument(std::string& docType, int32_t docFeedTimeout, std::string& replyText) {
  const std::string& deviceName = context_.settings.deviceName;
  std::string optionText;
  int32_t readStatus = -1;
  try {
    for (const ReaderOption& option :
         ReadOptions(docType, docFeedTimeout, context_.profile, context_.settings.machineType, context_.clock.Now())) {
      int32_t capacity = kReaderBufferCapacity;
      if (option.index > 0) {
        context_.library.MTMICRSetIndexValue(optionText, option.section, option.key, option.index, option.value,
                                             capacity);
      } else {
        context_.library.MTMICRSetValue(optionText, option.section, option.key, option.value, capacity);
      }
    }
    WriteDebugLog("Pulling Doc from " + docType + " feeder");
    WriteDebugLog("Calling MTMICRProcessCheck with these Options:\r\n" + optionText);
    const std::chrono::milliseconds start = context_.clock.Monotonic();
    int32_t capacity = kReaderBufferCapacity;
    readStatus = context_.library.MTMICRProcessCheck(deviceName, optionText, replyText, capacity);
    WriteDebugLog("Read took " + SecondsText(context_.clock.Monotonic() - start) +
                  " seconds, ReturnCode=" + std::to_string(readStatus));
    WriteDebugLog("Got this DocInfo:\r\n" + replyText);

    if (deviceName == kImageSafeDeviceName && readStatus == 0) {
      const std::string kind = ExtractBetween(1, replyText, "ResponseType>", "</ResponseType");
      if (kind == "NONE") {
        return false;
      }
      if (kind == "MSR" || kind == "ID") {
        docType = kind;
      } else if (kind == "CHECK") {
        docType = "MANUAL";
      }
    }
  } catch (const std::exception& exception) {
    WriteDebugLog("After MTMICRProcessCheck: " + AsError(exception).TraceText());
  }
  if (readStatus != 0) {
    return false;
  }
  const std::string returnCode = ReplyValue(replyText, "CommandStatus", "ReturnCode");
  return ToDouble(returnCode).value_or(0) == 0;
}

std::string DocumentRead::ProcessDocument(const std::string& docType, const std::string& replyText) {
  const ProfileSettings& profile = context_.profile;
  if (!profile.ScanOverrideFileNameTemplate.empty()) {
    UserFileNameFiller filler(context_.prompt);
    return filler.Fill(ExpandTemplate(profile.ScanOverrideFileNameTemplate, context_.clock.Now()), ImageSide::kFront);
  }
  if (IsChequeFeeder(docType)) {
    return ProcessChequeFeederDocument(replyText);
  }
  if (docType == "ID") {
    UserFileNameFiller filler(context_.prompt);
    return ExpandTemplate(filler.Fill(profile.IDCardImagePath, ImageSide::kFront), context_.clock.Now()) + "*";
  }
  if (docType == "MSR") {
    ProcessStripe(replyText);
  }
  return "";
}

std::string DocumentRead::ProcessChequeFeederDocument(const std::string& replyText) {
  const ProfileSettings& profile = context_.profile;
  if (profile.LetUserFillDetails == 2) {
    RunSkippingError([&] { FetchImage(replyText, Image::kPreview, std::string(kPreviewImage), kPreviewAttempts); });
  }
  const std::string micrText = CleanedReplyValue(ReplyValue(replyText, "DocInfo", "MICRRaw"));
  if (micrText.empty()) {
    WriteDebugLog("No MICR line was read: nothing is typed and no image is saved");
    return "";
  }
  std::string imageNames;
  RunSkippingError([&] {
    switch (ClassifyDocument(micrText, profile.MinUnreadCharsForNoMICR)) {
      case dtUnidentified:
        imageNames = context_.processors.ParseAndFeedGenUSCheque(micrText, false);
        break;
      case dtCheque:
        imageNames = context_.processors.ParseAndFeedCheque(micrText, "", "", false);
        break;
      case dtUSCheque:
        imageNames = context_.processors.ParseAndFeedGenUSCheque(micrText, true);
        break;
      default:
        break;
    }
  });
  return imageNames;
}

void DocumentRead::ProcessStripe(const std::string& replyText) {
  bool anyTrack = false;
  for (const char track : {'1', '2', '3'}) {
    if (context_.settings.msrTracks.find(track) == std::string::npos) {
      continue;
    }
    const std::string text = CleanedReplyValue(ReplyValue(replyText, "MSRInfo", std::string("TrackData") + track));
    anyTrack = anyTrack || !text.empty();
    RunSkippingError([&] { context_.processors.ParseAndFeedMagStripe(text); });
  }
  if (!anyTrack) {
    WriteDebugLog("No stripe track was read: nothing is typed");
  }
}

void DocumentRead::SaveImages(const std::string& docType, const std::string& imageNames, const std::string& replyText) {
  std::string names = imageNames;
  std::replace(names.begin(), names.end(), '?', '#');
  names += "**";
  const size_t star = names.find('*');
  const std::string frontName = names.substr(0, star);
  const std::string backName = names.substr(star + 1, names.find('*', star + 1) - star - 1);
  const ProfileSettings& profile = context_.profile;
  const bool combine = profile.CombineChequeImages;
  const bool frontDontSave = frontName.find(kDontSaveMarker) != std::string::npos;

  if (Saves(frontName)) {
    const std::string target = JoinsImages(docType) && combine ? std::string(kTemporaryFront) : frontName;
    RunSkippingError([&] { FetchImage(replyText, Image::kFront, target, kImageAttempts); });
  }
  if ((Saves(backName) || combine) && !(frontDontSave && combine)) {
    const std::string target = combine ? std::string(kTemporaryBack) : backName;
    RunSkippingError([&] { FetchImage(replyText, Image::kBack, target, kImageAttempts); });
  }
  if (JoinsImages(docType) && combine && Saves(frontName)) {
    JoinOrSaveFront(frontName);
  }
}

void DocumentRead::JoinOrSaveFront(const std::string& frontName) {
  CreateFolderForFile(frontName);
  if (HasContent(kTemporaryBack) && context_.join.Start(frontName)) {
    return;
  }
  if (!HasContent(kTemporaryFront)) {
    return;
  }
  std::error_code error;
  std::filesystem::copy_file(ToFsPath(kTemporaryFront), ToFsPath(frontName),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    WriteDebugLog("Could not save the front image as " + frontName + ": " + error.message());
    return;
  }
  DeleteFileIfPresent(kTemporaryFront);
}

bool DocumentRead::FetchImage(const std::string& replyText, Image image, const std::string& target, int32_t attempts) {
  const int32_t index = static_cast<int32_t>(image);
  std::string sizeText;
  int32_t capacity = kReplyValueCapacity;
  if (context_.library.MTMICRGetIndexValue(replyText, "ImageInfo", "ImageSize", index, sizeText, capacity) != 0) {
    return false;
  }
  const std::optional<int32_t> imageSize = ToInt32(CleanedReplyValue(sizeText));
  if (!imageSize || *imageSize <= 0) {
    return false;
  }
  if (target == kPreviewImage || target == kTemporaryFront || target == kTemporaryBack) {
    PrepareTemporary(target);
  }
  for (int32_t attempt = 1; attempt <= attempts; ++attempt) {
    if (TryImageOnce(replyText, image, target, *imageSize)) {
      return true;
    }
    if (image != Image::kPreview) {
      WriteDebugLog(image == Image::kFront ? "Retrying to get front image" : "Retrying to get back image");
    }
    context_.clock.Sleep(kImageRetryWait);
    if (image == Image::kPreview) {
      WriteDebugLog("Retry #" + std::to_string(attempt) + " to get preview image");
    }
  }
  return false;
}

bool DocumentRead::TryImageOnce(const std::string& replyText, Image image, const std::string& target,
                                int32_t imageSize) {
  const int32_t index = static_cast<int32_t>(image);
  std::string address;
  int32_t capacity = kReplyValueCapacity;
  context_.library.MTMICRGetIndexValue(replyText, "ImageInfo", "ImageURL", index, address, capacity);
  std::string bytes;
  int32_t byteCount = imageSize;
  if (context_.library.MTMICRGetImage(context_.settings.deviceName, CleanedReplyValue(address), bytes, byteCount) !=
      0) {
    return false;
  }
  switch (image) {
    case Image::kPreview:
      WriteDebugLog("Saving " + target);
      break;
    case Image::kFront:
      WriteDebugLog("Saving front/ID: " + target);
      CreateFolderForFile(target);
      break;
    case Image::kBack:
      CreateFolderForFile(target);
      WriteDebugLog("Saving backside: " + target);
      break;
  }
  bytes.resize(std::min<size_t>(bytes.size(), static_cast<size_t>(std::clamp(byteCount, 0, imageSize))));
  if (!WriteFileBytes(target, bytes)) {
    WriteDebugLog("Could not write " + target);
    return false;
  }
  return true;
}

void DocumentRead::PrepareTemporary(std::string_view path) {
  context_.join.WaitForPrevious();
  DeleteFileIfPresent(path);
}

std::string DocumentRead::ReplyValue(const std::string& replyText, const std::string& section, const std::string& key) {
  std::string value;
  int32_t capacity = kReplyValueCapacity;
  context_.library.MTMICRGetValue(replyText, section, key, value, capacity);
  return value;
}

}  // namespace orvex
