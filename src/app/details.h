#pragma once

// The details window's texts and the rules behind its buttons: the try button classifies a MICR
// line typed by hand, asks whether to process it, and hands it to the processor of its kind.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/message_box.h"
#include "interpret/document_processors.h"
#include "interpret/document_type.h"

namespace orvex {

struct DetailsTexts {
  std::string_view caption;
  std::string_view profileLabel;
  std::string_view noProfiles;  // the list's one entry until the window is brought up
  std::string_view readerDataLabel;
  std::string_view copyButton;
  std::string_view lastDataLabel;
  std::string_view manualData;  // the sample line in the manual entry box
  std::string_view tryButton;
  std::string_view makerLink;
  std::string_view supportLink;
};

inline constexpr DetailsTexts kDetailsTexts{
    .caption = "קורא שיקים וכרטיסים של Orvex",
    .profileLabel = "פרופיל נוכחי:",
    .noProfiles = "אין פרופילים",
    .readerDataLabel = "מידע שהתקבל מהקורא:",
    .copyButton = "העתק מידע מהקורא ללוח",
    .lastDataLabel = "מידע אחרון שהועבר ליישום:",
    .manualData = "A1234567 C12A12345E 123456C",
    .tryButton = "נסה מחרוזת",
    .makerLink = "www.orvex.co.il",
    .supportLink = "תמיכה: 09-8741226",
};

// The web pages behind the link labels of the details window and the splash.
inline constexpr std::string_view kMakerAddress = "https://www.orvex.co.il/";
inline constexpr std::string_view kSupportAddress = "https://www.orvex.co.il/support";

// What the try button's "Yes" does with a line of a kind.
enum class ManualProcessing { kNone, kCheque, kMagStripe, kPostalCheque };
ManualProcessing ManualProcessingOf(DocumentType type);

// The text up to and including its last "C"; empty when it holds none.
std::string UpToLastC(std::string_view text);

// The question of the try button, naming the kind.
Message TryStringQuestion(std::string_view kindName);

// The try button on the text of the manual entry box, which `manualData` reads: once for the
// question, and anew for the processing after "Yes". minUnreadCharsForNoMICR: the active
// profile's value, as for a read.
void TryManualData(const std::function<std::string()>& manualData, int32_t minUnreadCharsForNoMICR,
                   MessageBoxes& boxes, DocumentProcessors& processors);

}  // namespace orvex
