#include "app/start_up.h"

#include <filesystem>

namespace orvex {

std::string StartingLine(std::string_view programFileName, int major, int minor, int revision) {
  const std::string stem = std::filesystem::path(std::string(programFileName)).stem().string();
  return "Starting " + stem + " ver. " + std::to_string(major) + "." + std::to_string(minor) + "." +
         std::to_string(revision);
}

Message BanksBranchesMissingMessage() {
  return {.title = std::string(kTitleProgramError),
          .text = ErrorText("קובץ סניפי בנק מותרים לא נמצא. ייתכן כי יהיו בעיות בקריאת צ'קים. " +
                            std::string(kSupportSentenceEnd)),
          .icon = MessageIcon::Exclamation,
          .buttons = MessageButtons::YesNo};
}

}  // namespace orvex
