#include "interpret/document_processing.h"

#include "base/error.h"
#include "base/text.h"
#include "base/trace.h"
#include "interpret/mag_stripe.h"
#include "interpret/templates.h"
#include "keys/key_code.h"

namespace orvex {
namespace {

// The templates of a document passed as a whole.
struct WholeDocumentTemplates {
  const std::string& frontName;
  const std::string& backName;
  const std::string& keys;
};

WholeDocumentTemplates TemplatesOf(const ProfileSettings& s, bool isUSCheque) {
  if (isUSCheque) {
    return {s.GenUSFileNameTemplate, s.GenUSBackFileNameTemplate, s.GenUSTemplate};
  }
  return {s.UnidentifiedFileNameTemplate, s.UnidentifiedBackFileNameTemplate, s.UnidentifiedTemplate};
}

}  // namespace

void DocumentProcessing::ParseAndFeedMagStripe(const std::string& track) {
  const ProfileSettings& settings = profiles_.Settings();
  feeder_.FeedStringToApp(MagStripeText(track, settings), settings);
}

ImageNames DocumentProcessing::ParseAndFeedGenUSCheque(const std::string& micrText, bool isUSCheque) {
  try {
    return ProcessGenUSCheque(micrText, isUSCheque);
  } catch (const std::exception& exception) {
    TellStopped("ParseAndFeedGenUSCheque", exception);
    return {};
  }
}

void DocumentProcessing::TellStopped(std::string_view operation, const std::exception& exception) {
  const Error error = AsError(exception);
  const std::string traceText = std::string(operation) + " " + error.TraceText();
  WriteDebugLog(traceText);
  trail_.Tell(ProcessingStoppedText(error), traceText);
}

ImageNames DocumentProcessing::ProcessGenUSCheque(const std::string& micrText, bool isUSCheque) {
  const ProfileSettings& settings = profiles_.Settings();
  const WholeDocumentTemplates templates = TemplatesOf(settings, isUSCheque);
  trail_.NameDocument("המסמך " + micrText);
  UserFileNameFiller userNames(prompt_);

  const std::string frontName = WholeDocumentImageName(templates.frontName, micrText, userNames, ImageSide::kFront);
  const std::string keys =
      ReplacePlaceholders(ExpandTemplate(templates.keys, clock_.Now()),
                          {{"{MICR}", KeyCodeLiteral(micrText)}, {"{FileName}", KeyCodeLiteral(frontName)}});
  // The MICR text is not examined for unread characters: its keys go out with either setting.
  const bool sendKeys = settings.DontPassPartialRead <= 1;
  if (sendKeys && !settings.ImageBeforeSendKeys) {
    feeder_.FeedStringToApp(keys, settings);
  }

  const std::string backName =
      frontName.empty() ? "" : WholeDocumentImageName(templates.backName, micrText, userNames, ImageSide::kBack);

  if (sendKeys && settings.ImageBeforeSendKeys) {
    feeder_.FeedStringToApp(keys, settings);
  }
  return {frontName, backName};
}

std::string DocumentProcessing::WholeDocumentImageName(const std::string& nameTemplate, const std::string& micrText,
                                                       UserFileNameFiller& userNames, ImageSide side) const {
  if (nameTemplate.empty()) {
    return "";
  }
  // Dates first and the operator's part last: a value is never read for codes.
  return userNames.Fill(ReplacePlaceholders(ExpandTemplate(nameTemplate, clock_.Now()),
                                            {{"{MICR}", FileNameValue(micrText, NameValue::kDocument)}}),
                        side);
}

void DocumentProcessing::StartNewCsvLog() {
  const ProfileSettings& settings = profiles_.Settings();
  if (settings.CSVFile.empty() || settings.CSVRenTemplate.empty()) {
    return;
  }
  const std::string archive = PlainFileName(ExpandTemplate(settings.CSVRenTemplate, clock_.Now()));
  if (!log_.StartNew(settings.CSVFile, archive)) {
    boxes_.Show(NewLogFailedMessage(settings.CSVFile, archive));
  }
}

}  // namespace orvex
