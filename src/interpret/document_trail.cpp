#include "interpret/document_trail.h"

#include <algorithm>

#include "base/file_name_rules.h"
#include "base/trace.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

// The longest intended-name part of a kept file's name, in bytes: with the time stamp it stays
// well inside the 255 units (or, under Wine, 255 UTF-8 bytes) of one name.
constexpr size_t kUnsavedNameBytes = 150;

bool FitsInFileName(char c) {
  return !IsForbiddenInFileName(c) && !IsFolderSeparator(c);
}

// The text from the first character that starts at or after `start` bytes (UTF-8).
std::string_view FromCharacterAt(std::string_view text, size_t start) {
  while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    ++start;
  }
  return text.substr(std::min(start, text.size()));
}

// Why a file is not where it belongs when its name is too long, and what the operator does then.
constexpr std::string_view kNameTooLong = " (השם ארוך מהמותר ב-Windows)";
constexpr std::string_view kShortenTheTemplate =
    "יש לקצר את תבנית השם בהגדרות ולהעביר את הקובץ למקומו בשם קצר יותר.";

// What the operator does with a document that was not processed.
constexpr std::string_view kFeedAgain = "יש להעביר אותו שוב בקורא או להזין אותו ידנית.";

}  // namespace

std::string UnsavedFileName(const LocalDateTime& when, std::string_view intendedName) {
  std::string flat(intendedName);
  std::replace_if(flat.begin(), flat.end(), [](char c) { return !FitsInFileName(c); }, '_');
  const std::string_view kept =
      flat.size() > kUnsavedNameBytes ? FromCharacterAt(flat, flat.size() - kUnsavedNameBytes) : flat;
  return std::string(kUnsavedFolder) + "\\" +
         PlainFileName(ExpandTemplate("{YYYY}{MM}{DD}-{HH}{NN}{SS}_", when) + std::string(kept));
}

std::string ReadFailedText(int32_t readStatus, std::string_view returnCode) {
  return "הקורא לא הצליח לקרוא את המסמך (קוד " + std::to_string(readStatus) + ", " + std::string(returnCode) +
         "), ולכן דבר לא הוקלד ולא נשמר. " + std::string(kFeedAgain);
}

std::string ProcessingStoppedText(const Error& error) {
  return "עיבוד המסמך נעצר (" + error.TraceText() + "). יש לבדוק מה הוקלד, ו" + std::string(kFeedAgain);
}

std::string NoMicrLineText() {
  return "לא נקראה מהמסמך שורת MICR, ולכן דבר לא הוקלד ולא נשמר. " + std::string(kFeedAgain);
}

std::string KindNotProcessedText(DocumentType type) {
  const std::string_view name = DocumentTypeName(type);
  return "המסמך זוהה כ" + std::string(name.empty() ? "מסמך לא מוכר" : name) +
         " ואינו מעובד: דבר לא הוקלד ולא נשמר. " + std::string(kFeedAgain);
}

std::string CardNotReadText() {
  return "לא ניתן היה לקרוא את פס הכרטיס המגנטי, ולכן דבר לא הוקלד. " + std::string(kFeedAgain);
}

std::string ImageNotReceivedText(std::string_view intendedName) {
  return "התמונה " + std::string(intendedName) + " לא התקבלה מהקורא ולא נשמרה. יש להעביר את המסמך שוב בקורא.";
}

std::string JoinFailedText(std::string_view frontName) {
  return "לא ניתן היה לשמור את התמונה " + std::string(frontName) + ": איחוד צידי הצ'ק נכשל. " +
         "יש להעביר את הצ'ק שוב בקורא.";
}

Message DocumentTrailMessage(std::string_view documentName, const std::vector<std::string>& notes) {
  std::string text = (documentName.empty() ? std::string("המסמך האחרון") : std::string(documentName)) + ":";
  for (const std::string& note : notes) {
    text += "\n" + note;
  }
  return Message{.title = std::string(kTitleInformation),
                 .text = text,
                 .icon = MessageIcon::Exclamation,
                 .buttons = MessageButtons::Ok,
                 .foreground = true};
}

DocumentTrail::Document::Document(DocumentTrail& trail, std::string name) : trail_(trail) {
  trail_.open_.push_back({std::move(name), {}});
}

DocumentTrail::Document::~Document() {
  trail_.Close();
}

void DocumentTrail::Close() {
  OpenDocument closed = std::move(open_.back());
  // Popped before the box shows: the box is not part of any document.
  open_.pop_back();
  if (!closed.notes.empty()) {
    boxes_.Show(DocumentTrailMessage(closed.name, closed.notes));
  }
}

void DocumentTrail::NameDocument(std::string name) {
  if (!open_.empty()) {
    open_.back().name = std::move(name);
  }
}

std::string DocumentTrail::DocumentName() const {
  return open_.empty() ? "" : open_.back().name;
}

bool DocumentTrail::Save(std::string_view name, std::string_view bytes, std::string_view what) {
  files_.CreateFolderFor(name);
  if (files_.Write(name, bytes)) {
    return true;
  }
  WriteDebugLog("Could not write " + std::string(name));
  Keep(name, bytes, what);
  return false;
}

std::string DocumentTrail::UnsavedName(std::string_view intendedName) {
  const std::string name = FreeFileName(files_, UnsavedFileName(clock_.Now(), intendedName));
  files_.CreateFolderFor(name);
  return name;
}

void DocumentTrail::Keep(std::string_view intendedName, std::string_view bytes, std::string_view what) {
  const std::string unsavedName = UnsavedName(intendedName);
  TellKept(intendedName, what, files_.Write(unsavedName, bytes), unsavedName);
}

void DocumentTrail::KeepFile(std::string_view path, std::string_view intendedName, std::string_view what) {
  const std::string unsavedName = UnsavedName(intendedName);
  TellKept(intendedName, what, files_.Move(path, unsavedName), unsavedName);
}

void DocumentTrail::TellKept(std::string_view intendedName, std::string_view what, bool kept,
                             const std::string& unsavedName) {
  const bool tooLong = !FitsWindowsNameLimits(intendedName);
  const std::string intended = std::string(intendedName) + std::string(tooLong ? kNameTooLong : "");
  const std::string traced = std::string(intendedName) + (tooLong ? " (longer than Windows takes)" : "");
  if (kept) {
    Tell("לא ניתן היה לשמור את " + std::string(what) + " " + intended + ". הקובץ נשמר בשם " + unsavedName + "; " +
             std::string(tooLong ? kShortenTheTemplate : "יש להעבירו למקומו."),
         "Not saved as " + traced + "; kept as " + unsavedName);
  } else {
    Tell("לא ניתן היה לשמור את " + std::string(what) + " " + intended + ", וגם לא בתיקייה " +
             std::string(kUnsavedFolder) + ". " + std::string(kSupportSentenceEnd),
         "Not saved as " + traced + ", and not kept in " + std::string(kUnsavedFolder) + " either");
  }
}

void DocumentTrail::Tell(std::string operatorText, std::string_view traceText) {
  WriteDebugLog("Operator told: " + std::string(traceText));
  if (open_.empty()) {
    boxes_.Show(DocumentTrailMessage("", {operatorText}));
    return;
  }
  open_.back().notes.push_back(std::move(operatorText));
}

}  // namespace orvex
