#include "app/details.h"

#include "interpret/classification.h"

namespace orvex {

ManualProcessing ManualProcessingOf(DocumentType type) {
  switch (type) {
    case dtCheque:
    case dtNonusCheque:
      return ManualProcessing::kCheque;
    case dtMagneticCard:
      return ManualProcessing::kMagStripe;
    case dtPostalBankCheque:
      return ManualProcessing::kPostalCheque;
    default:
      return ManualProcessing::kNone;
  }
}

std::string UpToLastC(std::string_view text) {
  const size_t last = text.rfind('C');
  return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

Message TryStringQuestion(std::string_view kindName) {
  return {.title = "מידע ידני",
          .text = "תוצאה: " + std::string(kindName) +
                  "\r\n\r\nהאם ברצונך לנסות לעבד את המידע, כולל העברת המידע כמקשים לתוכנה, במידת הצורך?",
          .icon = MessageIcon::Information,
          .buttons = MessageButtons::YesNo};
}

void TryManualData(const std::function<std::string()>& manualData, int32_t minUnreadCharsForNoMICR,
                   MessageBoxes& boxes, DocumentProcessors& processors) {
  const DocumentType type = ClassifyDocument(manualData(), minUnreadCharsForNoMICR);
  if (boxes.Show(TryStringQuestion(DocumentTypeName(type))) != MessageAnswer::Yes) {
    return;
  }
  const std::string text = manualData();
  switch (ManualProcessingOf(type)) {
    case ManualProcessing::kCheque:
      processors.ParseAndFeedCheque(text, "", "", false);
      break;
    case ManualProcessing::kMagStripe:
      processors.ParseAndFeedMagStripe(text);
      break;
    case ManualProcessing::kPostalCheque:
      processors.ParseAndFeedCheque(UpToLastC(text), "", "", false);
      break;
    case ManualProcessing::kNone:
      break;
  }
}

}  // namespace orvex
