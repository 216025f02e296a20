#include "interpret/document_type.h"

namespace orvex {

std::string_view DocumentTypeName(DocumentType type) {
  switch (type) {
    case dtUnidentified:
      return "לא מזוהה";
    case dtCheque:
      return "צ'ק רגיל";
    case dtMagneticCard:
      return "כרטיס מגנטי";
    case dtNoMICR:
      return "מסמך ללא דיו מגנטית";
    case dtPostalBankCheque:
      return "צ'ק של בנק הדואר";
    case dtNonusCheque:
      return "צ'ק של נונוס";
    case dtUSCheque:
      break;
  }
  return "";
}

}  // namespace orvex
