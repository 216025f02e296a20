#include "verify/restricted_accounts.h"

#include <array>
#include <cstdio>
#include <optional>

#include "base/error.h"
#include "base/extract_between.h"
#include "base/file_io.h"
#include "base/file_time.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/trace.h"

namespace orvex {
namespace {

constexpr std::string_view kRestrictedTitle = "אזהרה - חשבון מוגבל";
constexpr std::string_view kSourceSentence = " לפי המידע מאתר בנק ישראל.";
constexpr std::string_view kNoConnectionText =
    "אזהרה: אין תקשורת נתונים לאתר בנק ישראל. בדיקת חשבונות מוגבלים לא תבוצע.";

// What the page's title says: restricted, or not restricted. "חשבון לא מוגבל" does not contain
// "חשבון מוגבל", so a "not restricted" title is never taken for a restricted one.
constexpr std::string_view kRestrictedPhrase = "חשבון מוגבל";
constexpr std::string_view kNotRestrictedPhrase = "חשבון לא מוגבל";
// In the page's body: the phrase, one separator character, the date in 10 characters.
constexpr std::string_view kRestrictedUntilPhrase = "חשבון מוגבל עד";
constexpr size_t kDateLength = 10;

// The banks whose account numbers have nine digits; every other bank's have eight.
constexpr std::array<std::string_view, 5> kNineDigitBanks = {"31", "54", "52", "46", "14"};

// A list file's line: the account and the two dates stand in fixed columns, one byte per character
// in Windows-1255. Shorter lines are not records.
constexpr size_t kListLineMinimum = 34;
struct Column {
  size_t start;  // from 0
  size_t length;
};
constexpr Column kListAccount{10, 8};
constexpr Column kFromYear{18, 4};
constexpr Column kFromMonth{22, 2};
constexpr Column kFromDay{24, 2};
constexpr Column kUntilYear{26, 4};
constexpr Column kUntilMonth{30, 2};
constexpr Column kUntilDay{32, 2};

// The last `count` characters of the text, the whole text when it is shorter.
std::string_view LastCharacters(std::string_view text, size_t count) {
  const size_t length = Utf8Length(text);
  return length <= count ? text : text.substr(Utf8Prefix(text, length - count).size());
}

// The last `digits` characters of the value after left-padding it with zeros.
std::string ZeroPadded(std::string_view value, size_t digits) {
  return std::string(LastCharacters(std::string(digits, '0') + std::string(value), digits));
}

size_t WebAccountDigits(std::string_view bank) {
  for (const std::string_view nineDigitBank : kNineDigitBanks) {
    if (bank == nineDigitBank) {
      return 9;
    }
  }
  return 8;
}

// Every byte outside the unreserved characters of an address as "%" and two hex digits, so that a
// blank, "&", "#" or "=" in a captured field cannot change the question. The bytes are those of
// Windows-1255, the source's own code page.
std::string PercentEncoded(std::string_view value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : Utf8ToWindows1255(value)) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
    if (unreserved) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

std::string QueryUrl(std::string_view limitedAccountUrl, std::string_view account, std::string_view branch,
                     std::string_view bank) {
  return std::string(limitedAccountUrl) + "?bank=" + PercentEncoded(bank) + "&snif=" + PercentEncoded(branch) +
         "&acct=" + PercentEncoded(account);
}

// "חשבון מס' " + account + " בסניף מס' " + branch + " של בנק מס' " + bank: how every restricted
// warning begins.
std::string AccountPhrase(std::string_view account, std::string_view branch, std::string_view bank) {
  return "חשבון מס' " + std::string(account) + " בסניף מס' " + std::string(branch) + " של בנק מס' " + std::string(bank);
}

void ShowRestrictedWarning(MessageBoxes& messageBoxes, std::string text) {
  messageBoxes.Show(Message{.title = std::string(kRestrictedTitle),
                            .text = std::move(text),
                            .icon = MessageIcon::Critical,
                            .buttons = MessageButtons::Ok,
                            .foreground = true});
}

std::string Field(std::string_view line, Column column) {
  return Windows1255ToUtf8(line.substr(column.start, column.length));
}

// "hh:nn:ss dd/mm/yyyy"; "" when the time could not be read.
std::string FormatUpdateTime(const std::optional<LocalDateTime>& time) {
  if (!time) {
    return "";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%04d", time->hour, time->minute, time->second, time->day,
                time->month, time->year);
  return text;
}

std::string ListedWarningText(std::string_view account, std::string_view branch, std::string_view bank,
                              std::string_view line, const std::optional<LocalDateTime>& fileTime) {
  return AccountPhrase(account, branch, bank) + " מוגדר כמוגבל מתאריך " + Field(line, kFromDay) + "/" +
         Field(line, kFromMonth) + "/" + Field(line, kFromYear) + " עד תאריך " + Field(line, kUntilDay) + "/" +
         Field(line, kUntilMonth) + "/" + Field(line, kUntilYear) + std::string(kSourceSentence) + "\r\n\r\n" +
         "המידע עודכן לאחרונה מהאתר: " + FormatUpdateTime(fileTime);
}

// The 10 characters that follow the "restricted until" phrase and one separator; "" without it.
std::string RestrictedUntilDate(std::string_view page) {
  const size_t found = page.find(kRestrictedUntilPhrase);
  if (found == std::string_view::npos) {
    return "";
  }
  const std::string_view afterPhrase = page.substr(found + kRestrictedUntilPhrase.size());
  const std::string_view afterSeparator = afterPhrase.substr(Utf8Prefix(afterPhrase, 1).size());
  return std::string(Utf8Prefix(afterSeparator, kDateLength));
}

}  // namespace

bool RestrictedAccounts::IsAccountListed(const std::string& accountListPath, std::string_view account,
                                         std::string_view branch, std::string_view bank) {
  const std::string listAccount = ZeroPadded(account, 8);
  const std::string listBranch = ZeroPadded(branch, 3);
  const std::string listBank = ZeroPadded(bank, 2);
  const std::string path = accountListPath + "ACC" + listBank + listBranch + ".TXT";
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) {
    return false;
  }
  const std::string accountInFile = Utf8ToWindows1255(listAccount);
  for (const std::string_view line : SplitLines(*bytes)) {
    if (line.size() >= kListLineMinimum && line.substr(kListAccount.start, kListAccount.length) == accountInFile) {
      ShowRestrictedWarning(messageBoxes_,
                            ListedWarningText(listAccount, listBranch, listBank, line, FileModifiedTime(path)));
      return true;
    }
  }
  return false;
}

bool RestrictedAccounts::QueryRestrictedAccount(const std::string& limitedAccountUrl, std::string_view account,
                                                std::string_view branch, std::string_view bank) {
  const std::string webAccount = ZeroPadded(account, WebAccountDigits(bank));
  std::string page;
  try {
    page = web_.Fetch(QueryUrl(limitedAccountUrl, webAccount, branch, bank));
  } catch (const std::exception& exception) {
    WriteDebugLog(AsError(exception).TraceText());
    ShowNoConnectionWarning();
    return false;
  }
  const std::string title = ExtractBetween(1, page, "title>", "</title");
  const bool restricted = title.find(kRestrictedPhrase) != std::string::npos;
  const bool notRestricted = title.find(kNotRestrictedPhrase) != std::string::npos;
  if (!restricted) {
    // An empty page, or one that says neither, is no answer.
    if (!notRestricted) {
      ShowNoConnectionWarning();
    }
    return false;
  }
  ShowRestrictedWarning(messageBoxes_, AccountPhrase(webAccount, branch, bank) + " מוגבל עד תאריך " +
                                           RestrictedUntilDate(page) + "\r\n" + std::string(kSourceSentence) +
                                           "\r\n\r\n");
  return true;
}

void RestrictedAccounts::ShowNoConnectionWarning() {
  messageBoxes_.Show(Message{.title = std::string(kTitleInformation),
                             .text = WithSupportLine(kNoConnectionText),
                             .icon = MessageIcon::Exclamation,
                             .buttons = MessageButtons::Ok});
}

}  // namespace orvex
