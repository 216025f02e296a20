#pragma once

// The two cheque dialogs as the operator sees them: frmChequeData, which completes the numbers of
// a cheque read in part, and frmChequeFull, which asks for every detail beside the picture of the
// cheque. Both are modal, right-to-left and above every other window; each returns what the
// operator confirmed, or nothing when the operator cancelled (the cancel button, Escape or the
// window's close box).

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/clock.h"
#include "base/message_box.h"
#include "dialogs/cheque_entry.h"

namespace orvex {

// `tabChar` is the profile's TabChar: typing it in a number field moves on to the next control.
std::optional<ChequeCompletion> ShowChequeData(const ChequeDialogRequest& request, uint8_t tabChar);

// The picture is decoded from `picturePath`; one that cannot be read leaves the picture empty (a
// trace line says why) and the operator completes the cheque without it. The date box opens on
// the clock's day; an invalid date on OK is reported through `messages` and keeps the dialog open.
std::optional<ChequeCompletion> ShowChequeFull(const ChequeDialogRequest& request, std::string_view picturePath,
                                               uint8_t tabChar, const Clock& clock, MessageBoxes& messages);

}  // namespace orvex
