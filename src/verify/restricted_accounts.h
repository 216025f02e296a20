#pragma once

// The restricted-account sources as the system has them: the list files of a folder, one per bank
// branch, and a web page that answers for one account. A restricted account is shown to the
// operator in a warning that stays above the application being typed into.

#include "base/message_box.h"
#include "verify/restricted_account_sources.h"
#include "verify/web_client.h"

namespace orvex {

class RestrictedAccounts final : public RestrictedAccountSources {
 public:
  RestrictedAccounts(WebClient& web, MessageBoxes& messageBoxes) : web_(web), messageBoxes_(messageBoxes) {}

  // Looks the account up in "ACC" + bank + branch + ".TXT". A file that is missing or cannot be read
  // answers false without a word.
  bool IsAccountListed(const std::string& accountListPath, std::string_view account, std::string_view branch,
                       std::string_view bank) override;
  // Asks the page for the account. Any failure (no answer, an empty one, a page that says neither
  // "restricted" nor "not restricted") gives the no-connection warning and false.
  bool QueryRestrictedAccount(const std::string& limitedAccountUrl, std::string_view account, std::string_view branch,
                              std::string_view bank) override;

 private:
  void ShowNoConnectionWarning();

  WebClient& web_;
  MessageBoxes& messageBoxes_;
};

}  // namespace orvex
