#include "verify/restricted_account_startup.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "base/file_time.h"
#include "base/text.h"
#include "base/trace.h"

namespace orvex {
namespace {

constexpr int kListAgeLimitDays = 7;

constexpr std::string_view kListsOutdatedText =
    "אזהרה: נתונים אודות חשבונות מוגבלים לא עודכנו מאתר בנק ישראל מעל שבוע ימים. מומלץ לבצע עדכון.";
constexpr std::string_view kNoWebSourceText = "אין תקשורת נתונים לאתר בנק ישראל. ";
constexpr std::string_view kCannotRunText = "לא ניתן להריץ את התוכנה.";

bool IsListFileName(std::string_view name) {
  return name.size() >= 7 && EqualsIgnoringAsciiCase(name.substr(0, 3), "ACC") &&
         EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".TXT");
}

// The first list file of the folder in the order the platform's file search gives on its own disks
// (by name, letter case ignored); nothing when there is none or the folder cannot be read.
std::optional<std::string> FirstListFile(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(ToFsPath(folder), error), end; !error && entry != end;
       entry.increment(error)) {
    const std::u8string name = entry->path().filename().u8string();
    std::string utf8Name(name.begin(), name.end());
    if (IsListFileName(utf8Name) && entry->is_regular_file(error)) {
      names.push_back(std::move(utf8Name));
    }
  }
  if (names.empty()) {
    return std::nullopt;
  }
  return folder + *std::min_element(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
           return AsciiUpper(a) < AsciiUpper(b);
         });
}

std::chrono::sys_days Date(const LocalDateTime& time) {
  return std::chrono::year_month_day(std::chrono::year(time.year),
                                     std::chrono::month(static_cast<unsigned>(time.month)),
                                     std::chrono::day(static_cast<unsigned>(time.day)));
}

// The number of midnights from the file's last write to now.
bool IsOutdated(const LocalDateTime& written, const LocalDateTime& now) {
  return (Date(now) - Date(written)).count() > kListAgeLimitDays;
}

bool ListFilesAreCurrent(const std::string& accountListPath, const Clock& clock) {
  const std::optional<std::string> file = FirstListFile(accountListPath);
  if (!file) {
    return false;
  }
  const std::optional<LocalDateTime> written = FileModifiedTime(*file);
  return written && !IsOutdated(*written, clock.Now());
}

bool WebSourceAnswers(const std::string& limitedAccountUrl, WebClient& web) {
  try {
    return !web.Fetch(limitedAccountUrl).empty();
  } catch (const std::exception& exception) {
    WriteDebugLog(AsError(exception).TraceText());
    return false;
  }
}

}  // namespace

void CheckAccountListAge(const std::string& accountListPath, const Clock& clock, MessageBoxes& messageBoxes) {
  if (accountListPath.empty() || ListFilesAreCurrent(accountListPath, clock)) {
    return;
  }
  messageBoxes.Show(Message{.title = std::string(kTitleInformation),
                            .text = WithSupportLine(kListsOutdatedText),
                            .icon = MessageIcon::Exclamation,
                            .buttons = MessageButtons::Ok});
}

WebSourceCheck CheckWebSourceConnection(const std::string& limitedAccountUrl, WebClient& web,
                                        MessageBoxes& messageBoxes) {
  if (limitedAccountUrl.empty() || WebSourceAnswers(limitedAccountUrl, web)) {
    return WebSourceCheck::kAnswered;
  }
  messageBoxes.Show(
      Message{.title = std::string(kTitleInformation),
              .text = WithSupportLine(std::string(kNoWebSourceText) + "\r\n\r\n" + std::string(kCannotRunText)),
              .icon = MessageIcon::Critical,
              .buttons = MessageButtons::Ok});
  return WebSourceCheck::kUnreachable;
}

}  // namespace orvex
