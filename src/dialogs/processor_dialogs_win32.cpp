#include "dialogs/processor_dialogs_win32.h"

#include "dialogs/cheque_dialogs_win32.h"

namespace orvex {

std::optional<ChequeCompletion> Win32ChequeDialogs::ShowChequeFull(const ChequeFields& fields,
                                                                   std::string_view verifyCaption,
                                                                   std::string_view picturePath) {
  return orvex::ShowChequeFull({fields, std::string(verifyCaption)}, picturePath, settings_.TabChar, clock_, messages_);
}

std::optional<ChequeCompletion> Win32ChequeDialogs::ShowChequeData(const ChequeFields& fields,
                                                                   std::string_view verifyCaption) {
  return orvex::ShowChequeData({fields, std::string(verifyCaption)}, settings_.TabChar);
}

}  // namespace orvex
