#pragma once

// The read of one document: the options handed to the reader, the read itself, the processor the
// document goes to, and the images saved under the names the processor returned.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/file_store.h"
#include "config/global_settings.h"
#include "config/profile_settings.h"
#include "interpret/cheque_dialogs.h"
#include "interpret/document_processors.h"
#include "interpret/document_trail.h"
#include "interpret/file_names.h"
#include "reader/image_join.h"
#include "reader/polling.h"
#include "reader/reader_library.h"

namespace orvex {

// One option of a read: section / key = value, at an image index when index is above 0.
struct ReaderOption {
  std::string section;
  std::string key;
  int32_t index = 0;
  std::string value;

  bool operator==(const ReaderOption&) const = default;
};

// The options of a read from the feeder, in the order the reader receives them.
std::vector<ReaderOption> ReadOptions(DocFeed feed, int32_t docFeedTimeout, const ProfileSettings& profile,
                                      std::string_view machineType, const LocalDateTime& now);

// The temporary images beside the joining script, relative to the program folder (and the
// preview, kPreviewImage).
inline constexpr std::string_view kTemporaryFront = "netpbm\\tmp-front.jpg";
inline constexpr std::string_view kTemporaryBack = "netpbm\\tmp-back.jpg";

struct ReadDocContext {
  ReaderLibrary& library;
  const GlobalSettings& settings;
  const ProfileSettings& profile;  // the active profile's settings, kept current by profile loads
  DocumentProcessors& processors;
  OperatorPrompt& prompt;
  ImageJoin& join;
  Clock& clock;
  FileStore& files;
  DocumentTrail& trail;
};

class DocumentRead final : public DocumentReader {
 public:
  explicit DocumentRead(ReadDocContext context) : context_(context) {}

  DocFeed ReadDoc(DocFeed feed, int32_t docFeedTimeout) override;
  void SettleFinishedJoin() override { SettleJoin(std::chrono::milliseconds(0)); }

  // Judges the join started last once it has ended, waiting up to `bound` for it: the joined
  // picture moved to the cheque's image name, or, when the join failed, its images kept in the
  // recovery folder and the operator told. False while it still runs.
  bool SettleJoin(std::chrono::milliseconds bound);

  // How many documents the reader has delivered since start-up.
  int64_t DocumentsRead() const { return documentsRead_; }

 private:
  enum class Image : int32_t { kFront = 1, kBack = 2, kPreview = 3 };

  // What came of one image's attempts.
  struct FetchedImage {
    enum class Result { kNone, kWritten, kNotWritten, kNotReceived, kTooLarge } result = Result::kNone;
    std::string bytes;  // the reader's bytes, when they were received but not written
  };

  // A join that was started and not yet judged: the cheque it joins.
  struct PendingJoin {
    std::string frontName;
    std::string documentName;
  };

  // The read itself: the kind of document read, nothing when it ended without a document to process.
  std::optional<DocFeed> PullDocument(DocFeed feed, int32_t docFeedTimeout, std::string& replyText);
  ImageNames ProcessDocument(DocFeed kind, const std::string& replyText);
  ImageNames ProcessChequeFeederDocument(const std::string& replyText);
  void ProcessStripe(const std::string& replyText);
  void SaveImages(DocFeed kind, const ImageNames& names, const std::string& replyText);
  void JoinOrSaveFront(const std::string& frontName);
  void KeepJoinImages(const PendingJoin& join);

  // Up to `attempts` transfers of the image, each written to the target; an empty target keeps
  // the first bytes received.
  FetchedImage FetchImage(const std::string& replyText, Image image, const std::string& target, int32_t attempts);
  // The image saved under the target, or, when it could not be, kept or told under its intended name.
  void SaveImage(const std::string& replyText, Image image, const std::string& target, const std::string& intendedName);
  bool TryImageOnce(const std::string& replyText, Image image, const std::string& target, int32_t imageSize,
                    std::string& bytes);
  std::string ReplyValue(const std::string& replyText, const std::string& section, const std::string& key);
  // Runs a step of the read; an error that ends it is told to the operator.
  void RunTellingError(std::string_view operation, const std::function<void()>& step);

  ReadDocContext context_;
  int64_t documentsRead_ = 0;
  std::optional<PendingJoin> pendingJoin_;
};

}  // namespace orvex
