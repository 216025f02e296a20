#include "reader/read_doc.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/error.h"
#include "base/extract_between.h"
#include "base/file_name_rules.h"
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
// The largest image the read accepts: a reply that claims more is not believed.
constexpr int32_t kMaxImageBytes = 64 * 1024 * 1024;

bool IsChequeFeeder(DocFeed feed) {
  return feed == DocFeed::kManual || feed == DocFeed::kAutoFeed || feed == DocFeed::kAll;
}

// Feeders whose front and back are joined into one picture when the profile asks for it.
bool JoinsImages(DocFeed feed) {
  return feed == DocFeed::kManual || feed == DocFeed::kAutoFeed;
}

// The kind of document an ImageSafe reader's ResponseType names, read from the given feeder.
DocFeed ImageSafeKind(std::string_view responseType, DocFeed feed) {
  if (responseType == "MSR") {
    return DocFeed::kMsr;
  }
  if (responseType == "ID") {
    return DocFeed::kId;
  }
  return responseType == "CHECK" ? DocFeed::kManual : feed;
}

// A scan-override name: front, then the back after a "*" when the template names one.
ImageNames ScanOverrideNames(std::string_view names) {
  const size_t star = names.find('*');
  if (star == std::string_view::npos) {
    return {std::string(names), ""};
  }
  const std::string_view back = names.substr(star + 1);
  return {std::string(names.substr(0, star)), std::string(back.substr(0, back.find('*')))};
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
  if (profile.LetUserFillDetails == UserFillsDetails::kFullCheque) {
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

// The name the back of a cheque is kept under when it could not be joined to its front.
std::string BackSideName(std::string_view frontName) {
  const size_t fileStart = frontName.find_last_of("\\/") + 1;  // 0 when the name has no folder
  const size_t dot = frontName.rfind('.');
  const size_t end = dot == std::string_view::npos || dot < fileStart ? frontName.size() : dot;
  return std::string(frontName.substr(0, end)) + "-back" + std::string(frontName.substr(end));
}

}  // namespace

std::vector<ReaderOption> ReadOptions(DocFeed feed, int32_t docFeedTimeout, const ProfileSettings& profile,
                                      std::string_view machineType, const LocalDateTime& now) {
  std::vector<ReaderOption> options{
      {"Application", "Transfer", 0, "HTTP"},
      {"Application", "DocUnits", 0, "METRIC"},
      {"ProcessOptions", "DocFeedTimeout", 0, std::to_string(docFeedTimeout)},
      {"ProcessOptions", "DocFeed", 0, std::string(DocFeedText(feed))},
      {"ProcessOptions", "RespondEarly", 0, "NO"},
  };
  if (feed == DocFeed::kId) {
    options.push_back({"ProcessOptions", "Endorse", 0, "NO"});
    options.push_back({"ImageOptions", "Number", 0, "1"});
    options.push_back({"ProcessOptions", "ReadMICR", 0, "NO"});
    AddImageOptions(options, 1, profile.IDColorDepth, profile.IDResolution, "BACK");
  } else if (IsChequeFeeder(feed)) {
    AddChequeOptions(options, profile, machineType, now);
  }
  return options;
}

DocFeed DocumentRead::ReadDoc(DocFeed feed, int32_t docFeedTimeout) {
  if (feed == DocFeed::kDebug) {
    // A technician's entry, whose window waits on every tick: no document is at hand meanwhile, so
    // the tray's commands stay free.
    context_.processors.ParseAndFeedCheque("DEBUG", "", "", false);
    return feed;
  }
  const DocumentTrail::Document document(context_.trail);
  std::string replyText;
  const std::optional<DocFeed> kind = PullDocument(feed, docFeedTimeout, replyText);
  if (!kind) {
    return feed;
  }
  ++documentsRead_;
  ImageNames imageNames;
  RunTellingError("ReadDoc", [&] { imageNames = ProcessDocument(*kind, replyText); });
  RunTellingError("ReadDoc", [&] { SaveImages(*kind, imageNames, replyText); });
  return *kind;
}

void DocumentRead::RunTellingError(std::string_view operation, const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& exception) {
    const Error error = AsError(exception);
    context_.trail.Tell(ProcessingStoppedText(error), std::string(operation) + " " + error.TraceText());
  }
}

std::optional<DocFeed> DocumentRead::PullDocument(DocFeed feed, int32_t docFeedTimeout, std::string& replyText) {
  const std::string& deviceName = context_.settings.deviceName;
  DocFeed kind = feed;
  std::string optionText;
  int32_t readStatus = -1;
  try {
    for (const ReaderOption& option :
         ReadOptions(feed, docFeedTimeout, context_.profile, context_.settings.machineType, context_.clock.Now())) {
      int32_t capacity = kReaderBufferCapacity;
      if (option.index > 0) {
        context_.library.MTMICRSetIndexValue(optionText, option.section, option.key, option.index, option.value,
                                             capacity);
      } else {
        context_.library.MTMICRSetValue(optionText, option.section, option.key, option.value, capacity);
      }
    }
    WriteDebugLog("Pulling Doc from " + std::string(DocFeedText(feed)) + " feeder");
    WriteDebugLog("Calling MTMICRProcessCheck with these Options:\r\n" + optionText);
    const std::chrono::milliseconds start = context_.clock.Monotonic();
    int32_t capacity = kReaderBufferCapacity;
    readStatus = context_.library.MTMICRProcessCheck(deviceName, optionText, replyText, capacity);
    WriteDebugLog("Read took " + SecondsText(context_.clock.Monotonic() - start) +
                  " seconds, ReturnCode=" + std::to_string(readStatus));
    WriteDebugLog("Got this DocInfo:\r\n" + replyText);

    if (deviceName == kImageSafeDeviceName && readStatus == 0) {
      const std::string responseType = ExtractBetween(1, replyText, "ResponseType>", "</ResponseType");
      if (responseType == "NONE") {
        return std::nullopt;
      }
      kind = ImageSafeKind(responseType, feed);
    }
  } catch (const std::exception& exception) {
    WriteDebugLog("After MTMICRProcessCheck: " + AsError(exception).TraceText());
  }
  const std::string returnCode =
      readStatus == 0 ? CleanedReplyValue(ReplyValue(replyText, "CommandStatus", "ReturnCode")) : "";
  if (readStatus != 0 || ToDouble(returnCode).value_or(0) != 0) {
    // A document that the status announced and that could not be read is the operator's to feed
    // again; an ImageSafe reader is asked on every tick, whether a document came or not.
    if (deviceName == kImageSafeDeviceName) {
      return std::nullopt;
    }
    context_.trail.Tell(ReadFailedText(readStatus, returnCode),
                        "The read failed: status " + std::to_string(readStatus) + ", ReturnCode " + returnCode);
    return std::nullopt;
  }
  return kind;
}

ImageNames DocumentRead::ProcessDocument(DocFeed kind, const std::string& replyText) {
  const ProfileSettings& profile = context_.profile;
  if (!profile.ScanOverrideFileNameTemplate.empty()) {
    UserFileNameFiller filler(context_.prompt);
    return ScanOverrideNames(
        filler.Fill(ExpandTemplate(profile.ScanOverrideFileNameTemplate, context_.clock.Now()), ImageSide::kFront));
  }
  if (IsChequeFeeder(kind)) {
    return ProcessChequeFeederDocument(replyText);
  }
  if (kind == DocFeed::kId) {
    UserFileNameFiller filler(context_.prompt);
    return {filler.Fill(ExpandTemplate(profile.IDCardImagePath, context_.clock.Now()), ImageSide::kFront), ""};
  }
  if (kind == DocFeed::kMsr) {
    ProcessStripe(replyText);
  }
  return {};
}

ImageNames DocumentRead::ProcessChequeFeederDocument(const std::string& replyText) {
  const ProfileSettings& profile = context_.profile;
  if (profile.LetUserFillDetails == UserFillsDetails::kFullCheque) {
    RunSkippingError([&] { FetchImage(replyText, Image::kPreview, std::string(kPreviewImage), kPreviewAttempts); });
  }
  const std::string micrText = CleanedReplyValue(ReplyValue(replyText, "DocInfo", "MICRRaw"));
  if (micrText.empty()) {
    context_.trail.Tell(NoMicrLineText(), "No MICR line was read: nothing is typed and no image is saved");
    return {};
  }
  const DocumentType type = ClassifyDocument(micrText, profile.MinUnreadCharsForNoMICR);
  switch (type) {
    case dtUnidentified:
      return context_.processors.ParseAndFeedGenUSCheque(micrText, false);
    case dtCheque:
      return context_.processors.ParseAndFeedCheque(micrText, "", "", false);
    case dtUSCheque:
      return context_.processors.ParseAndFeedGenUSCheque(micrText, true);
    default:
      context_.trail.Tell(KindNotProcessedText(type),
                          "A document of kind " + std::to_string(type) + " is not processed: " + micrText);
      return {};
  }
}

void DocumentRead::ProcessStripe(const std::string& replyText) {
  bool anyTyped = false;
  for (const char track : {'1', '2', '3'}) {
    if (context_.settings.msrTracks.find(track) == std::string::npos) {
      continue;
    }
    const std::string text = CleanedReplyValue(ReplyValue(replyText, "MSRInfo", std::string("TrackData") + track));
    // An empty track fails in the processor too; only a track that was typed counts.
    const bool typed = RunSkippingError([&] { context_.processors.ParseAndFeedMagStripe(text); });
    anyTyped = anyTyped || (typed && !text.empty());
  }
  if (!anyTyped) {
    context_.trail.Tell(CardNotReadText(), "No stripe track was read: nothing is typed");
  }
}

void DocumentRead::SaveImages(DocFeed kind, const ImageNames& names, const std::string& replyText) {
  const std::string frontName = SavedImageName(names.front);
  const std::string backName = SavedImageName(names.back);
  const bool combine = context_.profile.CombineChequeImages;
  const bool frontDontSave = frontName.find(kDontSaveMarker) != std::string::npos;
  const bool joinsFront = JoinsImages(kind) && combine && Saves(frontName);
  // The temporary images belong to a join that still runs, which is never overtaken: this
  // document's images then go around them, unjoined.
  const bool temporariesFree = !combine || SettleJoin(kJoinWaitBound);
  if (!temporariesFree) {
    WriteDebugLog("netpbm\\CombinePics.bat still runs after " + std::to_string(kJoinWaitBound.count()) +
                  " ms; this document's images are not joined");
  }

  if (Saves(frontName)) {
    SaveImage(replyText, Image::kFront, joinsFront && temporariesFree ? std::string(kTemporaryFront) : frontName,
              frontName);
  }
  if ((Saves(backName) || combine) && !(frontDontSave && combine)) {
    const std::string joinedBackName = joinsFront ? BackSideName(frontName) : "";
    if (!combine) {
      SaveImage(replyText, Image::kBack, backName, backName);
    } else if (temporariesFree) {
      SaveImage(replyText, Image::kBack, std::string(kTemporaryBack), joinedBackName);
    } else {
      SaveImage(replyText, Image::kBack, "", joinedBackName);  // straight to the recovery folder
    }
  }
  if (joinsFront && temporariesFree) {
    JoinOrSaveFront(frontName);
  }
}

void DocumentRead::JoinOrSaveFront(const std::string& frontName) {
  FileStore& files = context_.files;
  files.CreateFolderFor(frontName);
  if (HasContent(files, kTemporaryBack)) {
    files.Remove(kTemporaryJoined);
    if (context_.join.Start()) {
      pendingJoin_ = PendingJoin{frontName, context_.trail.DocumentName()};
      return;
    }
  }
  if (HasContent(files, kTemporaryFront) && !files.Move(kTemporaryFront, frontName)) {
    WriteDebugLog("Could not save the front image as " + frontName);
    context_.trail.KeepFile(kTemporaryFront, frontName, kImageFile);
  }
}

bool DocumentRead::SettleJoin(std::chrono::milliseconds bound) {
  const ImageJoin::Outcome outcome = context_.join.Wait(bound);
  if (outcome == ImageJoin::Outcome::kRunning) {
    return false;
  }
  if (!pendingJoin_) {
    return true;
  }
  const PendingJoin settled = std::move(*pendingJoin_);
  pendingJoin_.reset();
  const DocumentTrail::Document document(context_.trail, settled.documentName);
  FileStore& files = context_.files;
  if (outcome == ImageJoin::Outcome::kSucceeded && HasContent(files, kTemporaryJoined)) {
    if (files.Move(kTemporaryJoined, settled.frontName)) {
      WriteDebugLog("Joined image saved as " + settled.frontName);
    } else {
      WriteDebugLog("Could not save the joined image as " + settled.frontName);
      context_.trail.KeepFile(kTemporaryJoined, settled.frontName, kImageFile);
    }
    return true;
  }
  WriteDebugLog("The join of " + settled.frontName + " failed; its images are kept apart");
  KeepJoinImages(settled);
  return true;
}

void DocumentRead::KeepJoinImages(const PendingJoin& join) {
  bool kept = false;
  for (const auto& [temporary, intendedName] :
       {std::pair{kTemporaryFront, join.frontName}, std::pair{kTemporaryBack, BackSideName(join.frontName)}}) {
    if (HasContent(context_.files, temporary)) {
      context_.trail.KeepFile(temporary, intendedName, kImageFile);
      kept = true;
    }
  }
  if (!kept) {
    context_.trail.Tell(JoinFailedText(join.frontName), "No image of the failed join is left for " + join.frontName);
  }
}

void DocumentRead::SaveImage(const std::string& replyText, Image image, const std::string& target,
                             const std::string& intendedName) {
  // A name Windows refuses is not tried: the image goes straight to the recovery folder.
  const FetchedImage fetched =
      FetchImage(replyText, image, FitsWindowsNameLimits(target) ? target : "", kImageAttempts);
  if (intendedName.empty()) {
    return;
  }
  switch (fetched.result) {
    case FetchedImage::Result::kNotWritten:
      context_.trail.Keep(intendedName, fetched.bytes, kImageFile);
      break;
    case FetchedImage::Result::kNotReceived:
    case FetchedImage::Result::kTooLarge:
      context_.trail.Tell(ImageNotReceivedText(intendedName), "Image not received for " + intendedName);
      break;
    case FetchedImage::Result::kNone:
    case FetchedImage::Result::kWritten:
      break;
  }
}

DocumentRead::FetchedImage DocumentRead::FetchImage(const std::string& replyText, Image image,
                                                    const std::string& target, int32_t attempts) {
  const int32_t index = static_cast<int32_t>(image);
  std::string sizeText;
  int32_t capacity = kReplyValueCapacity;
  if (context_.library.MTMICRGetIndexValue(replyText, "ImageInfo", "ImageSize", index, sizeText, capacity) != 0) {
    return {};
  }
  const std::optional<int32_t> imageSize = ToInt32(CleanedReplyValue(sizeText));
  if (!imageSize || *imageSize <= 0) {
    return {};
  }
  if (*imageSize > kMaxImageBytes) {
    WriteDebugLog("ImageSize " + std::to_string(*imageSize) + " of image " + std::to_string(index) +
                  " is above 64 MB: the image is skipped");
    return {FetchedImage::Result::kTooLarge, ""};
  }
  if (target == kPreviewImage || target == kTemporaryFront || target == kTemporaryBack) {
    context_.files.Remove(target);  // an earlier document's file, whose join has ended
  }
  std::string bytes;
  for (int32_t attempt = 1; attempt <= attempts; ++attempt) {
    if (TryImageOnce(replyText, image, target, *imageSize, bytes)) {
      return {FetchedImage::Result::kWritten, ""};
    }
    if (target.empty() && !bytes.empty()) {
      break;
    }
    if (image != Image::kPreview) {
      WriteDebugLog(image == Image::kFront ? "Retrying to get front image" : "Retrying to get back image");
    }
    context_.clock.Sleep(kImageRetryWait);
    if (image == Image::kPreview) {
      WriteDebugLog("Retry #" + std::to_string(attempt) + " to get preview image");
    }
  }
  if (bytes.empty()) {
    return {FetchedImage::Result::kNotReceived, ""};
  }
  return {FetchedImage::Result::kNotWritten, std::move(bytes)};
}

bool DocumentRead::TryImageOnce(const std::string& replyText, Image image, const std::string& target, int32_t imageSize,
                                std::string& bytes) {
  const int32_t index = static_cast<int32_t>(image);
  std::string address;
  int32_t capacity = kReplyValueCapacity;
  context_.library.MTMICRGetIndexValue(replyText, "ImageInfo", "ImageURL", index, address, capacity);
  std::string delivered;
  int32_t byteCount = imageSize;
  if (context_.library.MTMICRGetImage(context_.settings.deviceName, CleanedReplyValue(address), delivered, byteCount) !=
      0) {
    return false;
  }
  delivered.resize(std::min<size_t>(delivered.size(), static_cast<size_t>(std::clamp(byteCount, 0, imageSize))));
  bytes = std::move(delivered);
  if (target.empty()) {
    return false;
  }
  switch (image) {
    case Image::kPreview:
      WriteDebugLog("Saving " + target);
      break;
    case Image::kFront:
      WriteDebugLog("Saving front/ID: " + target);
      context_.files.CreateFolderFor(target);
      break;
    case Image::kBack:
      context_.files.CreateFolderFor(target);
      WriteDebugLog("Saving backside: " + target);
      break;
  }
  if (!context_.files.Write(target, bytes)) {
    WriteDebugLog("Could not write " + target);
    return false;
  }
  return true;
}

std::string DocumentRead::ReplyValue(const std::string& replyText, const std::string& section, const std::string& key) {
  std::string value;
  int32_t capacity = kReplyValueCapacity;
  context_.library.MTMICRGetValue(replyText, section, key, value, capacity);
  return value;
}

}  // namespace orvex
