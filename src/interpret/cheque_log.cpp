#include "interpret/cheque_log.h"

#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "base/trace.h"
#include "interpret/file_names.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string LogBytes(std::string_view line) {
  return Utf8ToWindows1255(line) + std::string(kLineEnd);
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(ToFsPath(path), ignored);
}

Message LogHeldWarning(std::string_view csvFile) {
  return Message{.title = std::string(kTitleInformation),
                 .text = "לא ניתן לכתוב לקובץ ה-CSV " + std::string(csvFile) +
                         " (ייתכן שהוא פתוח בתוכנה אחרת).\nשורת הצ'ק נשמרה ותיכתב לקובץ כשיתאפשר.",
                 .icon = MessageIcon::Exclamation,
                 .buttons = MessageButtons::Ok,
                 .foreground = true};
}

Message LineLostError(std::string_view csvFile, std::string_view pendingFile) {
  return Message{.title = std::string(kTitleProgramError),
                 .text = WithSupportLine(ErrorText("לא ניתן לכתוב את שורת הצ'ק לקובץ ה-CSV " + std::string(csvFile) +
                                                   " וגם לא לקובץ " + std::string(pendingFile) + ".")),
                 .icon = MessageIcon::Exclamation,
                 .buttons = MessageButtons::Ok,
                 .foreground = true};
}

}  // namespace

std::string QuotedCsvValue(std::string_view value) {
  std::string quoted = "\"";
  for (const char c : value) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

std::string CsvValue(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(value);
  }
  return QuotedCsvValue(value);
}

std::string ChequeLogLine(const ChequeFields& captured, const LocalDateTime& processed, std::string_view amount,
                          std::string_view chequeDate, std::string_view frontName) {
  return CsvValue(captured.chequeNum) + "," + CsvValue(captured.bankNum) + "," + CsvValue(captured.branchNum) + "," +
         CsvValue(captured.accountNum) + ExpandTemplate(",{HH}:{NN}:{SS},{DD}/{MM}/{YYYY},", processed) +
         CsvValue(amount) + "," + CsvValue(chequeDate) + "," + QuotedCsvValue(frontName);
}

std::string PendingFileOf(std::string_view csvFile) {
  return std::string(csvFile) + ".pending";
}

bool ChequeLog::WriteHeldLines(const std::string& csvFile) {
  const std::string pendingFile = PendingFileOf(csvFile);
  const std::string held = ReadFileBytes(pendingFile).value_or("");
  if (held.empty()) {
    return true;
  }
  if (!AppendFileBytes(csvFile, held)) {
    return false;
  }
  // A line is written twice only if the program ends between the append and this removal.
  RemoveFile(pendingFile);
  return true;
}

void ChequeLog::Hold(const std::string& csvFile, std::string_view line, std::string_view bytes) {
  const std::string pendingFile = PendingFileOf(csvFile);
  if (!AppendFileBytes(pendingFile, bytes)) {
    WriteDebugLog("CSV line lost: neither " + csvFile + " nor " + pendingFile +
                  " can be written: " + std::string(line));
    boxes_.Show(LineLostError(csvFile, pendingFile));
    return;
  }
  WriteDebugLog("CSV log " + csvFile + " cannot be written; line kept in " + pendingFile + ": " + std::string(line));
  if (!warnedLogHeld_) {
    warnedLogHeld_ = true;
    boxes_.Show(LogHeldWarning(csvFile));
  }
}

void ChequeLog::Append(const std::string& csvFile, std::string_view line) {
  const std::string bytes = LogBytes(line);
  if (WriteHeldLines(csvFile) && AppendFileBytes(csvFile, bytes)) {
    warnedLogHeld_ = false;
    return;
  }
  Hold(csvFile, line, bytes);
}

void ChequeLog::StartNew(const std::string& csvFile, const std::string& newName) {
  if (!WriteHeldLines(csvFile)) {
    return;
  }
  CreateFolderForFile(newName);
  std::error_code error;
  std::filesystem::copy_file(ToFsPath(csvFile), ToFsPath(newName), std::filesystem::copy_options::overwrite_existing,
                             error);
  if (!error) {
    RemoveFile(csvFile);
  }
}

}  // namespace orvex
