#pragma once

// What a document read hands its work to, recorded: the processors (answering with scripted image
// names) and the image join. The operator's prompt is support/scripted_prompt.h.

#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "interpret/document_processors.h"
#include "reader/image_join.h"

namespace orvex::testing {

class RecordingProcessors : public DocumentProcessors {
 public:
  std::string ParseAndFeedCheque(const std::string& micrText, const std::string&, const std::string&,
                                 bool) override {
    calls.push_back("Cheque(" + micrText + ")");
    return imageNames;
  }
  // A track too short for its sentinels fails, as the stripe processor does.
  void ParseAndFeedMagStripe(const std::string& track) override {
    calls.push_back("Stripe(" + track + ")");
    if (track.size() < 2) {
      throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
    }
  }
  std::string ParseAndFeedGenUSCheque(const std::string& micrText, bool isUSCheque) override {
    calls.push_back(std::string(isUSCheque ? "US(" : "Unidentified(") + micrText + ")");
    return imageNames;
  }

  std::vector<std::string> calls;
  std::string imageNames;  // what every processor returns
};

class RecordingJoin : public ImageJoin {
 public:
  bool Start(const std::string& targetName) override {
    started.push_back(targetName);
    return true;
  }
  void WaitForPrevious() override { ++waits; }
  std::vector<std::string> started;
  int waits = 0;
};

}  // namespace orvex::testing
