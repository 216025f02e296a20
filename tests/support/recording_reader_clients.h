#pragma once

// What a document read hands its work to, recorded: the processors (answering with scripted image
// names) and the image join. The operator's prompt is support/scripted_prompt.h.

#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "interpret/document_processors.h"
#include "interpret/document_trail.h"
#include "reader/image_join.h"
#include "support/image_names_printer.h"

namespace orvex::test_support {

class RecordingProcessors : public DocumentProcessors {
 public:
  explicit RecordingProcessors(DocumentTrail* trail = nullptr) : trail_(trail) {}

  // Names the document in the trail, as the cheque processor does; fails when `throws` is set.
  ImageNames ParseAndFeedCheque(const std::string& micrText, const std::string&, const std::string&, bool) override {
    calls.push_back("Cheque(" + micrText + ")");
    if (trail_ && !documentName.empty()) {
      trail_->NameDocument(documentName);
    }
    if (throws) {
      throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
    }
    return imageNames;
  }
  // A track too short for its sentinels fails, as the stripe processor does.
  void ParseAndFeedMagStripe(const std::string& track) override {
    calls.push_back("Stripe(" + track + ")");
    if (track.size() < 2) {
      throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
    }
  }
  ImageNames ParseAndFeedGenUSCheque(const std::string& micrText, bool isUSCheque) override {
    calls.push_back(std::string(isUSCheque ? "US(" : "Unidentified(") + micrText + ")");
    return imageNames;
  }

  std::vector<std::string> calls;
  ImageNames imageNames;  // what every processor returns
  std::string documentName;
  bool throws = false;

 private:
  DocumentTrail* trail_;
};

// Records the joins started and the waits for them. A started join ends at the first wait with
// `outcome` (kRunning: it never ends), having written `joinedBytes`, when any, as its picture.
class RecordingJoin : public ImageJoin {
 public:
  bool Start() override {
    ++starts;
    running_ = true;
    if (!joinedBytes.empty()) {
      WriteFileBytes(kTemporaryJoined, joinedBytes);
    }
    return true;
  }
  Outcome Wait(std::chrono::milliseconds bound) override {
    waits.push_back(bound);
    if (!running_) {
      return Outcome::kNone;
    }
    running_ = outcome == Outcome::kRunning;
    return outcome;
  }

  int starts = 0;
  std::vector<std::chrono::milliseconds> waits;
  Outcome outcome = Outcome::kSucceeded;
  std::string joinedBytes;

 private:
  bool running_ = false;
};

}  // namespace orvex::test_support
