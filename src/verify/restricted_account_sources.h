#pragma once

// The two sources that say whether a cheque's account is restricted: the local list files of a
// folder and a web page that answers for one account. Each shows its own warning to the operator.

#include <string>
#include <string_view>

namespace orvex {

class RestrictedAccountSources {
 public:
  virtual ~RestrictedAccountSources() = default;

  // The list file of the bank branch in `accountListPath` (a folder ending in "\") names the account.
  virtual bool IsAccountListed(const std::string& accountListPath, std::string_view account, std::string_view branch,
                               std::string_view bank) = 0;
  // The page at `limitedAccountUrl` reports the account as restricted. A page that cannot be had
  // gives the no-connection warning and false.
  virtual bool QueryRestrictedAccount(const std::string& limitedAccountUrl, std::string_view account,
                                      std::string_view branch, std::string_view bank) = 0;
};

}  // namespace orvex
