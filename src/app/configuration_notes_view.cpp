#include "app/configuration_notes_view.h"

namespace orvex {

std::string ConfigurationNotesLinkText(size_t count) {
  return "הערות תצורה: " + std::to_string(count);
}

Message ConfigurationNotesMessage(const std::vector<std::string>& notes) {
  std::string text = "הערות על קובץ התצורה:";
  for (const std::string& note : notes) {
    text += "\r\n\r\n" + note;
  }
  return {.title = std::string(kTitleInformation),
          .text = std::move(text),
          .icon = MessageIcon::Information,
          .buttons = MessageButtons::Ok};
}

}  // namespace orvex
