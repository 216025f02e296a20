#pragma once

// The operator's texts of the cheque dialogs, as the operator reads them.

#include <string_view>

namespace orvex {

inline constexpr std::string_view kChequeDataCaption = "הכנסת פרטי צ'ק";
inline constexpr std::string_view kChequeDataInstructions =
    "הצ'ק שהועבר אינו קריא. נא למלא את פרטי הצ'ק הנכונים. יש לשים לב לאפסים גם בתחילת המספר. ניתן לעבור בין "
    "השדות עם מקש הרווח ולסיים בלחיצת אנטר.";

inline constexpr std::string_view kChequeFullCaption = "השלמת פרטי צ'ק";
inline constexpr std::string_view kChequeFullInstructions =
    "נא להשלים את פרטי הצ'ק המלאים. יש לשים לב לאפסים גם בתחילת המספר. ניתן לעבור בין השדות עם מקש הטאב "
    "ולסיים בלחיצת אנטר.";
inline constexpr std::string_view kAmountLabel = "סכום";
inline constexpr std::string_view kDateLabel = "תאריך";

inline constexpr std::string_view kOkCaption = "אישור";
inline constexpr std::string_view kCancelCaption = "ביטול";

// The message of an OK pressed with a date that is not valid.
inline constexpr std::string_view kInvalidDateTitle = "בעיה בהזנת פרטי צ'ק";
inline constexpr std::string_view kInvalidDateText = "תאריך לא תקין, נא לתקן.";

}  // namespace orvex
