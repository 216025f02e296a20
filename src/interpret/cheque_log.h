#pragma once

// The CSV cheque log: one line per processed cheque, Windows-1255, CR LF. A log that another
// program holds locked (a clerk has it open in a spreadsheet) loses no line: the line waits in a
// pending file beside the log and goes into the log, in order, before the next line that can be
// written.

#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/message_box.h"
#include "interpret/cheque_line.h"

namespace orvex {

// A value as it is, or, when it holds a comma, a double quote or a line break, in double quotes
// with its inner double quotes doubled, so that every reader of the log sees nine values.
std::string CsvValue(std::string_view value);

// A value always in double quotes, inner double quotes doubled.
std::string QuotedCsvValue(std::string_view value);

// The nine values of a cheque: the captured fields, the time and date of processing, the amount,
// the cheque date (day/month/four-digit year, or empty) and, always quoted, the front image name.
std::string ChequeLogLine(const ChequeFields& captured, const LocalDateTime& processed, std::string_view amount,
                          std::string_view chequeDate, std::string_view frontName);

// Where a log's held lines wait: the log's name + ".pending".
std::string PendingFileOf(std::string_view csvFile);

class ChequeLog {
 public:
  explicit ChequeLog(MessageBoxes& boxes) : boxes_(boxes) {}

  // Appends the line (no line end) to the log, created when missing, after the lines held for it.
  // A log that cannot be written keeps the line in its pending file: the operator is warned once
  // until the log can be written again, and a trace line names each held line. When the pending
  // file cannot be written either, the operator sees an error naming both files. Never throws
  // Error: the cheque goes on in every case.
  void Append(const std::string& csvFile, std::string_view line);

  // Starts a new log: the held lines go into the old log, which is copied to `newName` (its
  // folder created) and then deleted. A step that fails ends the command and keeps the old log.
  void StartNew(const std::string& csvFile, const std::string& newName);

 private:
  // Moves the lines held for the log into it; false when the log cannot be written.
  bool WriteHeldLines(const std::string& csvFile);
  void Hold(const std::string& csvFile, std::string_view line, std::string_view bytes);

  MessageBoxes& boxes_;
  bool warnedLogHeld_ = false;
};

}  // namespace orvex
