// ParseAndFeedCheque: an Israeli cheque line captured, verified, completed by the operator when
// the profile asks for it, logged, cut, named and typed.

#include <algorithm>
#include <charconv>

#include "base/error.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/trace.h"
#include "base/vb_convert.h"
#include "interpret/cheque_xml.h"
#include "interpret/document_processing.h"
#include "interpret/field_cutting.h"
#include "interpret/templates.h"
#include "keys/key_code.h"
#include "verify/cheque_verify.h"

namespace orvex {
namespace {

bool HasUnread(std::string_view chequeNum, std::string_view bank, std::string_view branch, std::string_view account) {
  return (std::string(chequeNum) + std::string(bank) + std::string(branch) + std::string(account)).find('?') !=
         std::string::npos;
}

// "" stays "", any other date is written day/month/four-digit year.
std::string FormattedChequeDate(std::string_view chequeDate) {
  if (chequeDate.empty()) {
    return "";
  }
  return ExpandTemplate("{DD}/{MM}/{YYYY}", ParseChequeDate(chequeDate));
}

std::string_view Left(std::string_view text, size_t count) {
  return text.substr(0, count);
}

std::string_view Right(std::string_view text, size_t count) {
  return text.size() > count ? text.substr(text.size() - count) : text;
}

CutChequeFields CutFields(const ProfileSettings& s, const ChequeFields& captured) {
  const std::string account = s.TrimAccountByBank
                                  ? TrimAccountToBankLength(captured.accountNum, ToInt16(captured.bankNum).value_or(0))
                                  : captured.accountNum;
  return {
      CutFieldByKeys(captured.chequeNum,
                     {s.ChequeNumStart, s.ChequeNumLength, s.ChequeNumLeadingZeros, s.ChequeNumFlip}),
      CutFieldByKeys(captured.bankNum,
                     {s.ChequeBankNumStart, s.ChequeBankNumLength, s.ChequeBankNumLeadingZeros, s.ChequeBankNumFlip}),
      CutFieldByKeys(captured.branchNum, {s.ChequeBranchNumStart, s.ChequeBranchNumLength,
                                          s.ChequeBranchNumLeadingZeros, s.ChequeBranchNumFlip}),
      CutFieldByKeys(captured.branchNum, {s.ChequeBranchCodeStart, s.ChequeBranchCodeLength,
                                          s.ChequeBranchCodeLeadingZeros, s.ChequeBranchCodeFlip}),
      CutFieldByKeys(account, {s.ChequeAccountNumStart, s.ChequeAccountNumLength, s.ChequeAccountNumLeadingZeros,
                               s.ChequeAccountNumFlip}),
  };
}

// The five field placeholders, "{Amount}" and, when a front name is given, "{FileName}". The front
// name is a finished file name: in a file name it goes in as it is.
std::string FillChequeValues(std::string_view text, const CutChequeFields& cut, std::string_view amount,
                             std::optional<std::string_view> frontName, ValueForm form) {
  const auto value = [form](std::string_view v) {
    return form == ValueForm::kKeyCodes ? KeyCodeLiteral(v) : FileNameValue(v, NameValue::kDocument);
  };
  const std::string fileName =
      form == ValueForm::kKeyCodes ? KeyCodeLiteral(frontName.value_or("")) : std::string(frontName.value_or(""));
  return ReplacePlaceholders(text, {{"{ChequeNum}", value(cut.chequeNum)},
                                    {"{BankNum}", value(cut.bankNum)},
                                    {"{BranchNum}", value(cut.branchNum)},
                                    {"{BranchCode}", value(cut.branchCode)},
                                    {"{AccountNum}", value(cut.accountNum)},
                                    {frontName ? "{FileName}" : "", fileName},
                                    {"{Amount}", value(amount)}});
}

// Keys go out unless unread digits are held back or the account is restricted and not to be typed.
bool MayTypeKeys(const ProfileSettings& settings, const CutChequeFields& cut, bool limited) {
  const bool complete =
      settings.DontPassPartialRead == 0 ||
      (settings.DontPassPartialRead == 1 && !HasUnread(cut.chequeNum, cut.bankNum, cut.branchNum, cut.accountNum));
  return complete && (!limited || settings.SendChequeIfLimited);
}

}  // namespace

std::string VerifyFailCaption(int32_t verifyCode) {
  return "הצ'ק לא תקין, קוד שגיאה " + std::to_string(verifyCode) + ". סמן תיבה זו כדי להתעלם.";
}

LocalDateTime ParseChequeDate(std::string_view text) {
  LocalDateTime date;
  int* const parts[] = {&date.day, &date.month, &date.year};
  const char* next = text.data();
  const char* const end = text.data() + text.size();
  for (size_t i = 0; i < 3; ++i) {
    const auto [stop, error] = std::from_chars(next, end, *parts[i]);
    const bool separatorFollows = i < 2 ? stop != end && *stop == '/' : stop == end;
    if (error != std::errc() || !separatorFollows || stop - next > (i < 2 ? 2 : 4)) {
      throw Error(kErrTypeMismatch, "Type mismatch");
    }
    next = stop + 1;
  }
  constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
  if (date.year < 1000 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > kDaysInMonth[date.month - 1] || (date.month == 2 && date.day == 29 && !leap)) {
    throw Error(kErrTypeMismatch, "Type mismatch");
  }
  return date;
}

ImageNames DocumentProcessing::ParseAndFeedCheque(const std::string& micrText, const std::string& chequeAmount,
                                                  const std::string& chequeDate, bool ignoreVerifyFail) {
  try {
    return ProcessCheque(micrText, chequeAmount, chequeDate, ignoreVerifyFail);
  } catch (const std::exception& exception) {
    TellStopped("ParseAndFeedCheque", exception);
    return {};
  }
}

ImageNames DocumentProcessing::ProcessCheque(const std::string& micrText, const std::string& amount,
                                             const std::string& chequeDate, bool ignoreVerifyFail) {
  const ChequeFields captured = CaptureFields(micrText);
  if (!captured.chequeNum.empty()) {
    trail_.NameDocument("הצ'ק מספר " + captured.chequeNum);
  }
  const ProfileSettings& settings = profiles_.Settings();
  const int32_t verifyCode = settings.IgnoreVerify ? kChequeValid
                                                   : VerifyChequeNumbers(banksBranches_, captured.bankNum,
                                                                         captured.branchNum, captured.accountNum);
  const bool verifyFailed = verifyCode != kChequeValid;
  const bool partial = HasUnread(captured.chequeNum, captured.bankNum, captured.branchNum, captured.accountNum);

  if (settings.LetUserFillDetails == UserFillsDetails::kFullCheque &&
      (partial || chequeDate.empty() || (verifyFailed && !ignoreVerifyFail))) {
    return CompleteByOperator(OperatorDialog::kFull, captured, verifyCode);
  }
  if (settings.LetUserFillDetails == UserFillsDetails::kMissingData && !ignoreVerifyFail &&
      ((settings.DontPassPartialRead == 1 && (partial || verifyFailed)) || micrText.empty())) {
    return CompleteByOperator(OperatorDialog::kMissingData, captured, verifyCode);
  }
  if (micrText.empty() && settings.LetUserFillDetails == UserFillsDetails::kNothing) {
    return {};  // an unreadable cheque is discarded
  }
  ImageNames imageNames;
  profiles_.WithBankProfile(captured.bankNum,
                            [&] { imageNames = ProcessWithActiveProfile(captured, amount, chequeDate); });
  return imageNames;
}

ChequeFields DocumentProcessing::CaptureFields(const std::string& micrText) {
  if (micrText != kDebugMicrText) {
    return CaptureChequeFields(micrText);
  }
  DebugAccount typed = dialogs_.AskDebugAccount();
  return {"", std::move(typed.bankNum), std::move(typed.branchNum), std::move(typed.accountNum)};
}

ImageNames DocumentProcessing::CompleteByOperator(OperatorDialog dialog, const ChequeFields& captured,
                                                  int32_t verifyCode) {
  const std::string caption = verifyCode != kChequeValid ? VerifyFailCaption(verifyCode) : "";
  const std::optional<ChequeCompletion> completion = dialog == OperatorDialog::kFull
                                                         ? dialogs_.ShowChequeFull(captured, caption, kPreviewImage)
                                                         : dialogs_.ShowChequeData(captured, caption);
  if (!completion) {
    return {};
  }
  return ParseAndFeedCheque(completion->micr, completion->amount, completion->chequeDate, completion->ignoreVerifyFail);
}

bool DocumentProcessing::IsRestricted(const ProfileSettings& settings, const ChequeFields& captured) {
  const std::string_view branch = Left(captured.branchNum, 3);
  bool limited = false;
  if (!settings.AccountListPath.empty()) {
    limited =
        restrictedAccounts_.IsAccountListed(settings.AccountListPath, captured.accountNum, branch, captured.bankNum);
  }
  if (!settings.LimitedAccountURL.empty()) {
    limited = restrictedAccounts_.QueryRestrictedAccount(settings.LimitedAccountURL, Right(captured.accountNum, 9),
                                                         branch, captured.bankNum);
  }
  return limited;
}

std::string DocumentProcessing::FillChequeTemplate(std::string_view text, const ChequeValues& values,
                                                   std::optional<std::string_view> frontName, ValueForm form) const {
  // Dates first: a value is never read for codes.
  const std::string dated = ExpandTemplate(
      values.writtenDate ? ExpandTemplate(text, ParseChequeDate(*values.writtenDate), "C") : std::string(text),
      clock_.Now());
  return FillChequeValues(dated, values.cut, values.amount, frontName, form);
}

std::string DocumentProcessing::ChequeImageName(const std::string& nameTemplate, const ChequeValues& values,
                                                std::optional<std::string_view> frontName,
                                                UserFileNameFiller& userNames, ImageSide side) const {
  if (nameTemplate.empty()) {
    return "";
  }
  return userNames.Fill(FillChequeTemplate(nameTemplate, values, frontName, ValueForm::kFileName), side);
}

ImageNames DocumentProcessing::ProcessWithActiveProfile(const ChequeFields& captured, const std::string& amount,
                                                        const std::string& chequeDate) {
  const ProfileSettings& settings = profiles_.Settings();
  const bool limited = IsRestricted(settings, captured);
  const LocalDateTime processed = clock_.Now();
  const std::string loggedChequeDate = FormattedChequeDate(chequeDate);
  const ChequeValues values{
      CutFields(settings, captured), amount,
      settings.LetUserFillDetails == UserFillsDetails::kFullCheque ? std::optional(chequeDate) : std::nullopt};
  UserFileNameFiller userNames(prompt_);

  std::string frontName =
      ChequeImageName(limited ? settings.LimitedImageFileNameTemplate : settings.ImageFileNameTemplate, values,
                      std::nullopt, userNames, ImageSide::kFront);
  if (!settings.CSVFile.empty()) {
    log_.Append(settings.CSVFile, ChequeLogLine(captured, processed, amount, loggedChequeDate, frontName));
  }

  const std::string keys = FillChequeTemplate(settings.ChequeTemplate, values, frontName, ValueForm::kKeyCodes);
  const bool typeKeys = MayTypeKeys(settings, values.cut, limited);
  if (typeKeys && !settings.ImageBeforeSendKeys) {
    feeder_.FeedStringToApp(keys, settings);
  }

  std::string backName;
  if (!frontName.empty() && !settings.BackImageFileNameTemplate.empty()) {
    backName = ChequeImageName(limited ? settings.LimitedBackImageFileNameTemplate : settings.BackImageFileNameTemplate,
                               values, frontName, userNames, ImageSide::kBack);
    if (frontName.find(kDontSaveMarker) == std::string::npos && settings.CreateXML) {
      const CutChequeFields& cut = values.cut;
      trail_.Save(ChequeXmlFileName(SavedImageName(frontName)),
                  Utf8ToWindows1255(ChequeXmlText({cut.chequeNum, cut.bankNum, cut.branchNum, cut.accountNum})),
                  kXmlFile);
    }
  }

  if (typeKeys && settings.ImageBeforeSendKeys) {
    feeder_.FeedStringToApp(keys, settings);
  }
  return {std::move(frontName), std::move(backName)};
}

}  // namespace orvex
