#pragma once

// The operator windows cheque processing opens: the full cheque entry dialog, the missing cheque
// data dialog and, in debug mode, the manual debug window. The dialogs subsystem and the shell
// implement them; tests answer them from a script.

#include <optional>
#include <string>
#include <string_view>

#include "interpret/cheque_line.h"

namespace orvex {

// The low-resolution front image the read prepares for the full cheque entry dialog, relative to
// the program folder.
inline constexpr std::string_view kPreviewImage = "netpbm\\tmp-preview.jpg";

// What a confirmed cheque dialog hands back; a cancelled one hands back nothing.
struct ChequeCompletion {
  std::string micr;               // the line rebuilt from the four fields
  std::string amount;             // as typed; always empty from the missing-data dialog
  std::string chequeDate;         // day/month/four-digit year; always empty from the missing-data dialog
  bool ignoreVerifyFail = false;  // the operator ticked the box that ignores a failed verification

  bool operator==(const ChequeCompletion&) const = default;
};

// The fields the manual debug window asks for.
struct DebugAccount {
  std::string bankNum;
  std::string branchNum;
  std::string accountNum;
};

class ChequeDialogs {
 public:
  virtual ~ChequeDialogs() = default;

  // Each dialog opens modally with the captured fields (their unread part marked) and, when
  // `verifyCaption` is not empty, the check box that ignores a failed verification under that
  // caption. Nothing comes back when the operator cancels, by the cancel button, Escape or the
  // window's close box.
  virtual std::optional<ChequeCompletion> ShowChequeFull(const ChequeFields& fields, std::string_view verifyCaption,
                                                         std::string_view picturePath) = 0;
  virtual std::optional<ChequeCompletion> ShowChequeData(const ChequeFields& fields,
                                                         std::string_view verifyCaption) = 0;

  // The manual debug window, shown modally; its entries stay for the next time.
  virtual DebugAccount AskDebugAccount() = 0;
};

}  // namespace orvex
