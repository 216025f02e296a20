#pragma once

// The field rules of the two cheque dialogs, apart from their windows: which fields they show,
// which part of a field the operator must still fill, the MICR line rebuilt from the fields, the
// amount as typed on a Hebrew keyboard, and the cheque's written date.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "interpret/cheque_dialogs.h"
#include "interpret/cheque_line.h"

namespace orvex {

// One number field of a cheque dialog: its control name, its label and its longest text in the
// full dialog (0: no limit). The table's order is the tab order.
struct ChequeFieldRow {
  std::string_view name;
  std::string_view label;
  size_t fullDialogLimit;
  std::string ChequeFields::*field;
};

// ChequeNum, BankNum, BranchNum, AccountNum.
std::span<const ChequeFieldRow> ChequeFieldRows();

// A selection inside a field, in characters.
struct TextSelection {
  size_t start = 0;
  size_t length = 0;

  bool operator==(const TextSelection&) const = default;
};

// The unread part of a field: from the first to the last occurrence of the first of "?", "@", ";"
// that occurs at all. Nothing when the field holds none of them (its selection stays as it is).
std::optional<TextSelection> MarkMissingData(std::string_view text);

// "A" + cheque number + " C" + bank + "A" + branch + "E " + account + "C": the layout that cheque
// processing cuts back into the four fields. The fields go in exactly as typed.
std::string RebuildMicr(const ChequeFields& fields);

// The amount with every "ץ" replaced by "." (the Hebrew layout puts that letter on the period key).
std::string FixAmount(std::string_view text);

// The date box's text for a day: "dd/mm/yy".
std::string DateBoxText(const LocalDateTime& day);

// The cheque's date from the date box's text "dd/mm/yy": "dd/mm/20yy". Nothing when the text is
// not a real day of the 2000s written that way (a prompt character "_" anywhere, a 31st of a
// month of 30 days, a 29th of February outside a leap year). The text is read day first whatever
// the system's locale, as the box's mask writes it.
std::optional<std::string> ChequeDateFromBox(std::string_view text);

// What the caller opens a cheque dialog with.
struct ChequeDialogRequest {
  ChequeFields fields;        // as captured, unread digits "?"
  std::string verifyCaption;  // the ignore box's caption; empty: the box stays hidden
};

// OK of the missing-data dialog.
ChequeCompletion ConfirmChequeData(const ChequeFields& fields, bool ignoreVerifyFail);
// OK of the full dialog; nothing when the date box's text is not a valid date.
std::optional<ChequeCompletion> ConfirmChequeFull(const ChequeFields& fields, std::string_view amount,
                                                  std::string_view dateBoxText, bool ignoreVerifyFail);

}  // namespace orvex
