#pragma once

// Templates: literal text with placeholders in braces. Placeholders match exactly and
// case-sensitively, every occurrence is replaced, and unknown brace texts stay as they are.

#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/text.h"

namespace orvex {

// The template with the date and time codes "{HH}" "{NN}" "{SS}" "{DD}" "{MM}" "{YY}" "{YYYY}"
// replaced from the given date-time; a prefix goes after the brace ("C" gives "{CDD}" and so on,
// for the cheque's written date). Every other text stays as it is.
std::string ExpandTemplate(std::string_view text, const LocalDateTime& dateTime, std::string_view prefix = "");

}  // namespace orvex
