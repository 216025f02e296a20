#pragma once

// The cheque dialogs behind the interface through which cheque processing opens them
// (interpret/cheque_dialogs.h). The manual debug window of that interface belongs to the shell,
// which completes this class with it.

#include "base/clock.h"
#include "base/message_box.h"
#include "config/profile_settings.h"
#include "interpret/cheque_dialogs.h"

namespace orvex {

class Win32ChequeDialogs : public ChequeDialogs {
 public:
  // `settings` is the active profile's record, read anew for each dialog (its TabChar).
  Win32ChequeDialogs(const ProfileSettings& settings, const Clock& clock, MessageBoxes& messages)
      : settings_(settings), clock_(clock), messages_(messages) {}

  std::optional<ChequeCompletion> ShowChequeFull(const ChequeFields& fields, std::string_view verifyCaption,
                                                 std::string_view picturePath) override;
  std::optional<ChequeCompletion> ShowChequeData(const ChequeFields& fields, std::string_view verifyCaption) override;

 private:
  const ProfileSettings& settings_;
  const Clock& clock_;
  MessageBoxes& messages_;
};

}  // namespace orvex

