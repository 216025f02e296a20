#pragma once

// The trail of a document: its images, log line and XML file where they belong, or, when one
// cannot be written there, kept in the recovery folder and the operator told, in one box per
// document. A document that is not processed at all is told the same way. While a document is at
// hand, the operator's commands that change state wait (see InProgress).

#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/error.h"
#include "base/file_store.h"
#include "base/message_box.h"
#include "interpret/document_type.h"

namespace orvex {

// The recovery folder, in the data folder (the current directory).
inline constexpr std::string_view kUnsavedFolder = "Unsaved";

// What the trail calls the files it keeps, as the operator reads it after "את".
inline constexpr std::string_view kImageFile = "התמונה";
inline constexpr std::string_view kXmlFile = "קובץ ה-XML";
inline constexpr std::string_view kCsvLine = "שורת ה-CSV";
inline constexpr std::string_view kCsvFile = "קובץ ה-CSV";

// Where bytes meant for `intendedName` are kept when kept at `when`: "Unsaved\" + "YYYYMMDD-HHNNSS_"
// + the intended name with its folder separators and every character a file name cannot hold as
// "_", cut from the front to a length every file system takes, made a plain name (PlainFileName).
std::string UnsavedFileName(const LocalDateTime& when, std::string_view intendedName);

// What the operator reads about a document that was not processed, or not wholly: processing that
// stopped with an error, a document without a MICR line, a kind no processor takes, an image that
// did not come from the reader.
std::string ReadFailedText(int32_t readStatus, std::string_view returnCode);
std::string ProcessingStoppedText(const Error& error);
std::string NoMicrLineText();
std::string KindNotProcessedText(DocumentType type);
std::string CardNotReadText();
std::string ImageNotReceivedText(std::string_view intendedName);
std::string JoinFailedText(std::string_view frontName);

// The box that tells the operator what happened to a document.
Message DocumentTrailMessage(std::string_view documentName, const std::vector<std::string>& notes);

class DocumentTrail {
 public:
  DocumentTrail(FileStore& files, const Clock& clock, MessageBoxes& boxes)
      : files_(files), clock_(clock), boxes_(boxes) {}

  // One document from its read to its last file; what is told meanwhile reaches the operator in
  // one box when it closes. Documents nest (a join of an earlier cheque judged while the next one
  // is read): each has its own box.
  class Document {
   public:
    explicit Document(DocumentTrail& trail, std::string name = "");
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

   private:
    DocumentTrail& trail_;
  };

  // True while a document is at hand, its prompts, dialogs and boxes included.
  bool InProgress() const { return !open_.empty(); }
  // Names the document at hand for the operator ("הצ'ק מספר 1234").
  void NameDocument(std::string name);
  std::string DocumentName() const;

  // Writes the file, its folder created; when it cannot be written, the bytes are kept in the
  // recovery folder and the operator is told. False when the file is not where it belongs.
  bool Save(std::string_view name, std::string_view bytes, std::string_view what);
  // Bytes that could not be written under the intended name, kept in the recovery folder. The
  // operator reads why when the name is longer than Windows takes.
  void Keep(std::string_view intendedName, std::string_view bytes, std::string_view what);
  // A file (a temporary) whose content belongs under the intended name but cannot go there, moved
  // into the recovery folder.
  void KeepFile(std::string_view path, std::string_view intendedName, std::string_view what);
  // Something the operator must act on, with the trace line that says it for support. Outside a
  // document the box is shown at once.
  void Tell(std::string operatorText, std::string_view traceText);

 private:
  struct OpenDocument {
    std::string name;
    std::vector<std::string> notes;
  };

  // A free name in the recovery folder for the intended one, its folder made.
  std::string UnsavedName(std::string_view intendedName);
  void TellKept(std::string_view intendedName, std::string_view what, bool kept, const std::string& unsavedName);
  void Close();

  FileStore& files_;
  const Clock& clock_;
  MessageBoxes& boxes_;
  std::vector<OpenDocument> open_;
};

}  // namespace orvex
