#include "interpret/cheque_log.h"

#include "base/file_name_rules.h"
#include "base/text_codec.h"
#include "base/trace.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string LogBytes(std::string_view line) {
  return Utf8ToWindows1255(line) + std::string(kLineEnd);
}

Message LogHeldWarning(std::string_view csvFile) {
  return Message{.title = std::string(kTitleInformation),
                 .text = "לא ניתן לכתוב לקובץ ה-CSV " + std::string(csvFile) +
                         " (ייתכן שהוא פתוח בתוכנה אחרת).\nשורת הצ'ק נשמרה ותיכתב לקובץ כשיתאפשר.",
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

Message NewLogFailedMessage(std::string_view csvFile, std::string_view archiveName) {
  return Message{.title = std::string(kTitleInformation),
                 .text = "לא ניתן היה להתחיל קובץ CSV חדש: הקובץ " + std::string(csvFile) + " לא הועבר אל " +
                         std::string(archiveName) +
                         " (ייתכן שהוא פתוח בתוכנה אחרת).\nהקובץ נשאר כפי שהיה; יש לסגור אותו ולנסות שוב.",
                 .icon = MessageIcon::Exclamation,
                 .buttons = MessageButtons::Ok,
                 .foreground = true};
}

bool ChequeLog::WriteHeldLines(const std::string& csvFile) {
  const std::string pendingFile = PendingFileOf(csvFile);
  const std::string held = files_.Read(pendingFile).value_or("");
  uint64_t written = writtenPendingFile_ == pendingFile ? writtenPendingBytes_ : 0;
  if (written > held.size()) {
    written = 0;  // the file was emptied or replaced meanwhile
  }
  if (held.size() > written && !AppendWhole(files_, csvFile, std::string_view(held).substr(written))) {
    return false;
  }
  if (!held.empty()) {
    ClearHeldLines(pendingFile, held.size());
  }
  return true;
}

void ChequeLog::ClearHeldLines(const std::string& pendingFile, uint64_t written) {
  if (files_.Remove(pendingFile) || files_.Write(pendingFile, "")) {
    writtenPendingFile_.clear();
    writtenPendingBytes_ = 0;
    return;
  }
  // A line is written twice only if the program ends before the pending file can be cleared.
  WriteDebugLog("The held lines of " + pendingFile + " are in the log; the file cannot be removed or emptied");
  writtenPendingFile_ = pendingFile;
  writtenPendingBytes_ = written;
}

void ChequeLog::Hold(const std::string& csvFile, std::string_view line, std::string_view bytes) {
  const std::string pendingFile = PendingFileOf(csvFile);
  if (!AppendWhole(files_, pendingFile, bytes)) {
    WriteDebugLog("CSV line not written: neither " + csvFile + " nor " + pendingFile +
                  " can be written: " + std::string(line));
    trail_.Keep(csvFile, bytes, kCsvLine);
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
  if (WriteHeldLines(csvFile) && AppendWhole(files_, csvFile, bytes)) {
    warnedLogHeld_ = false;
    return;
  }
  Hold(csvFile, line, bytes);
}

bool ChequeLog::StartNew(const std::string& csvFile, const std::string& newName) {
  if (!WriteHeldLines(csvFile)) {
    WriteDebugLog("New CSV log: the held lines cannot be written to " + csvFile);
    return false;
  }
  if (!files_.Size(csvFile)) {
    return true;  // no log yet: the next cheque starts one
  }
  const std::string archive = FreeFileName(files_, newName);
  if (!FitsWindowsNameLimits(archive)) {
    WriteDebugLog("New CSV log: " + archive + " is longer than Windows takes");
    trail_.KeepFile(csvFile, archive, kCsvFile);
    return true;
  }
  files_.CreateFolderFor(archive);
  if (!files_.Move(csvFile, archive)) {
    WriteDebugLog("New CSV log: " + csvFile + " cannot be moved to " + archive);
    return false;
  }
  WriteDebugLog("New CSV log: " + csvFile + " moved to " + archive);
  return true;
}

}  // namespace orvex
