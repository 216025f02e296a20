#pragma once

// The document processors: an Israeli cheque, a magnetic stripe card, a US cheque or an
// unidentified document turned into the profile's keystrokes, its log line, XML file and image
// names. The tray command that starts a new cheque log lives here too.

#include <optional>
#include <string>

#include "base/clock.h"
#include "base/message_box.h"
#include "config/profiles.h"
#include "interpret/cheque_dialogs.h"
#include "interpret/cheque_line.h"
#include "interpret/cheque_log.h"
#include "interpret/document_processors.h"
#include "interpret/document_trail.h"
#include "interpret/file_names.h"
#include "keys/feed.h"
#include "verify/banks_branches.h"
#include "verify/restricted_account_sources.h"

namespace orvex {

// The MICR text of the debug branch of a read: the fields come from the manual debug window.
inline constexpr std::string_view kDebugMicrText = "DEBUG";

// The caption of the dialogs' check box that ignores a failed verification.
std::string VerifyFailCaption(int32_t verifyCode);

// A cheque's written date, day/month/year (one or two digits for day and month, four for the
// year); Error 13 when the text is not such a date.
LocalDateTime ParseChequeDate(std::string_view text);

// The cut fields of a cheque, as its templates receive them.
struct CutChequeFields {
  std::string chequeNum;
  std::string bankNum;
  std::string branchNum;
  std::string branchCode;
  std::string accountNum;
};

// How values enter a template: made fit for a file name (FileNameValue), or as literal characters
// in keystrokes.
enum class ValueForm { kFileName, kKeyCodes };

class DocumentProcessing final : public DocumentProcessors {
 public:
  DocumentProcessing(Profiles& profiles, KeyFeeder& feeder, ChequeDialogs& dialogs, OperatorPrompt& prompt,
                     RestrictedAccountSources& restrictedAccounts, MessageBoxes& boxes, Clock& clock,
                     const BanksBranches& banksBranches, FileStore& files, DocumentTrail& trail)
      : profiles_(profiles),
        feeder_(feeder),
        dialogs_(dialogs),
        prompt_(prompt),
        restrictedAccounts_(restrictedAccounts),
        boxes_(boxes),
        clock_(clock),
        banksBranches_(banksBranches),
        trail_(trail),
        log_(boxes, files, trail) {}

  // Any failure ends the cheque with the trace line "ParseAndFeedCheque Error #" + number + " - "
  // + description, the operator told, and an empty result; a bank profile loaded for it is left
  // again.
  ImageNames ParseAndFeedCheque(const std::string& micrText, const std::string& chequeAmount,
                                const std::string& chequeDate, bool ignoreVerifyFail) override;
  // A failure reaches the caller; nothing is typed then.
  void ParseAndFeedMagStripe(const std::string& track) override;
  // Any failure ends the document with the trace line "ParseAndFeedGenUSCheque Error #" + ..., the
  // operator told, and an empty result.
  ImageNames ParseAndFeedGenUSCheque(const std::string& micrText, bool isUSCheque) override;

  // The tray command that starts a new cheque log: the log becomes the archive CSVRenTemplate
  // names now (a free variant of it when that name is taken), or, when that fails, everything stays
  // as it was and the operator is told.
  void StartNewCsvLog();

 private:
  enum class OperatorDialog { kFull, kMissingData };

  // What a cheque's templates receive.
  struct ChequeValues {
    CutChequeFields cut;
    std::string amount;
    // The cheque date as given, when the profile fills the "C" codes from it: read as a date by
    // each text that is filled, so that a date that cannot be read fails that step and no earlier.
    std::optional<std::string> writtenDate;
  };

  ImageNames ProcessCheque(const std::string& micrText, const std::string& amount, const std::string& chequeDate,
                           bool ignoreVerifyFail);
  ChequeFields CaptureFields(const std::string& micrText);
  ImageNames CompleteByOperator(OperatorDialog dialog, const ChequeFields& captured, int32_t verifyCode);
  ImageNames ProcessWithActiveProfile(const ChequeFields& captured, const std::string& amount,
                                      const std::string& chequeDate);
  bool IsRestricted(const ProfileSettings& settings, const ChequeFields& captured);
  // The template with the cheque date's "C" codes and the current date and time codes expanded,
  // then the cheque's values and, when a front name is given, "{FileName}" filled.
  std::string FillChequeTemplate(std::string_view text, const ChequeValues& values,
                                 std::optional<std::string_view> frontName, ValueForm form) const;
  // An image name from its template ("" for an empty template), the operator's "{User}" part last.
  std::string ChequeImageName(const std::string& nameTemplate, const ChequeValues& values,
                              std::optional<std::string_view> frontName, UserFileNameFiller& userNames,
                              ImageSide side) const;
  ImageNames ProcessGenUSCheque(const std::string& micrText, bool isUSCheque);
  // The trap at a processor's top: the error traced after the operation's name and told.
  void TellStopped(std::string_view operation, const std::exception& exception);
  // A US cheque's or unidentified document's image name ("" for an empty template).
  std::string WholeDocumentImageName(const std::string& nameTemplate, const std::string& micrText,
                                     UserFileNameFiller& userNames, ImageSide side) const;

  Profiles& profiles_;
  KeyFeeder& feeder_;
  ChequeDialogs& dialogs_;
  OperatorPrompt& prompt_;
  RestrictedAccountSources& restrictedAccounts_;
  MessageBoxes& boxes_;
  Clock& clock_;
  const BanksBranches& banksBranches_;
  DocumentTrail& trail_;
  ChequeLog log_;
};

}  // namespace orvex
