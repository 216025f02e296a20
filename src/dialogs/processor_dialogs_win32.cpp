#include "dialogs/processor_dialogs_win32.h"

#include "dialogs/cheque_dialogs_win32.h"

namespace orvex {
namespace {

std::optional<ChequeCompletion> AsCompletion(const std::optional<ChequeEntry>& entry) {
  if (!entry) {
    return std::nullopt;
  }
  return ChequeCompletion{entry->micr, entry->amount, entry->chequeDate, entry->ignoreVerifyFail};
}

}  // namespace

std::optional<ChequeCompletion> Win32ChequeDialogs::ShowChequeFull(const ChequeFields& fields,
                                                                   std::string_view verifyCaption,
                                                                   std::string_view picturePath) {
  return AsCompletion(
      orvex::ShowChequeFull({fields, std::string(verifyCaption)}, picturePath, settings_.TabChar, clock_, messages_));
}

std::optional<ChequeCompletion> Win32ChequeDialogs::ShowChequeData(const ChequeFields& fields,
                                                                   std::string_view verifyCaption) {
  return AsCompletion(orvex::ShowChequeData({fields, std::string(verifyCaption)}, settings_.TabChar));
}

}  // namespace orvex

