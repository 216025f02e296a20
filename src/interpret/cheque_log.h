#pragma once

// The CSV cheque log: one line per processed cheque, Windows-1255, CR LF. A log that another
// program holds locked (a clerk has it open in a spreadsheet) loses no line: the line waits in a
// pending file beside the log and goes into the log, in order, before the next line that can be
// written. Every line is written whole or not at all, and a held line reaches the log once: a
// pending file that cannot be removed after its lines went in is emptied, and when even that
// fails, the program remembers how much of it is in the log. Only a program that ends between
// the append and that removal, or that restarts while the pending file can be neither removed nor
// emptied, writes those held lines a second time.

#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/file_store.h"
#include "base/message_box.h"
#include "interpret/cheque_line.h"
#include "interpret/document_trail.h"

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

// The operator's box when a new log could not be started.
Message NewLogFailedMessage(std::string_view csvFile, std::string_view archiveName);

class ChequeLog {
 public:
  ChequeLog(MessageBoxes& boxes, FileStore& files, DocumentTrail& trail) : boxes_(boxes), files_(files), trail_(trail) {}

  // Appends the line (no line end) to the log, created when missing, after the lines held for it.
  // A log that cannot be written keeps the line in its pending file: the operator is warned once
  // until the log can be written again, and a trace line names each held line. When the pending
  // file cannot be written either, the line goes to the recovery folder and the operator is told
  // with the cheque. Never throws Error: the cheque goes on in every case.
  void Append(const std::string& csvFile, std::string_view line);

  // Starts a new log, all or nothing: the held lines go into the old log, which becomes the archive
  // `newName` (its folder created; a free variant of the name when one is taken). False when
  // anything failed; the log is then as it was. An archive name longer than Windows takes sends
  // the old log to the recovery folder instead, the operator told by the trail.
  bool StartNew(const std::string& csvFile, const std::string& newName);

 private:
  // Moves the lines held for the log into it; false when the log cannot be written.
  bool WriteHeldLines(const std::string& csvFile);
  // After the held lines went into the log: the pending file removed, or emptied, or, when neither
  // is possible, its length remembered as written.
  void ClearHeldLines(const std::string& pendingFile, uint64_t written);
  void Hold(const std::string& csvFile, std::string_view line, std::string_view bytes);

  MessageBoxes& boxes_;
  FileStore& files_;
  DocumentTrail& trail_;
  bool warnedLogHeld_ = false;
  // A pending file whose first bytes are in the log already, because it could not be cleared.
  std::string writtenPendingFile_;
  uint64_t writtenPendingBytes_ = 0;
};

}  // namespace orvex
