#pragma once

// The processors a document read hands its text to. Each one turns a document into keystrokes
// typed into the target application and returns the names under which the read saves the images.
// A processor handles its own failures; an Error that leaves one ends that document's processing.

#include <string>

namespace orvex {

// The names a document's front and back images are to be saved under, as a processor made them
// (the read saves them under SavedImageName). An empty name, or one holding kDontSaveMarker, is
// not saved.
struct ImageNames {
  std::string front;
  std::string back;

  bool operator==(const ImageNames&) const = default;
};

class DocumentProcessors {
 public:
  virtual ~DocumentProcessors() = default;

  // An Israeli cheque line (or "DEBUG": the fields come from the debug window). Returns the image
  // names; both empty when nothing was produced.
  virtual ImageNames ParseAndFeedCheque(const std::string& micrText, const std::string& chequeAmount,
                                        const std::string& chequeDate, bool ignoreVerifyFail) = 0;
  // One track of a magnetic stripe card.
  virtual void ParseAndFeedMagStripe(const std::string& track) = 0;
  // A US cheque (isUSCheque) or an unidentified document; returns the image names as above.
  virtual ImageNames ParseAndFeedGenUSCheque(const std::string& micrText, bool isUSCheque) = 0;
};

}  // namespace orvex
