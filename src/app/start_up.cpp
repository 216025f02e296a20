#include "app/start_up.h"

#include <filesystem>

namespace orvex {

std::string StartingLine(std::string_view programFileName, int major, int minor, int revision) {
  const std::string stem = std::filesystem::path(std::string(programFileName)).stem().string();
  return "Starting " + stem + " ver. " + std::to_string(major) + "." + std::to_string(minor) + "." +
         std::to_string(revision);
}

std::string DataFolderOf(std::string_view programFolder, const std::optional<std::string>& dataFolderFile) {
  std::string_view name = dataFolderFile ? std::string_view(*dataFolderFile) : std::string_view();
  if (name.starts_with("\xEF\xBB\xBF")) {
    name.remove_prefix(3);
  }
  const size_t first = name.find_first_not_of(" \t\r\n");
  name = first == std::string_view::npos ? std::string_view() : name.substr(first, name.find_last_not_of(" \t\r\n") + 1 - first);
  while (name.size() > 1 && (name.back() == '\\' || name.back() == '/') && name[name.size() - 2] != ':') {
    name.remove_suffix(1);
  }
  if (name.empty()) {
    return std::string(programFolder);
  }
  return PathFromFolder(programFolder, name);
}

std::string PathFromFolder(std::string_view folder, std::string_view name) {
  const bool absolute = name.starts_with("\\\\") || (name.size() >= 2 && name[1] == ':');
  return absolute ? std::string(name) : std::string(folder) + "\\" + std::string(name);
}

Message DataFolderUnusableMessage(std::string_view dataFolder) {
  return {.title = std::string(kTitleProgramError),
          .text = WithSupportLine(ErrorText("לא ניתן לעבוד בתיקיית הנתונים " + std::string(dataFolder) +
                                            ". ייתכן שהצ'קים, התמונות והיומן לא יישמרו.")),
          .icon = MessageIcon::Exclamation,
          .buttons = MessageButtons::Ok,
          .foreground = true};
}

Message BanksBranchesMissingMessage() {
  return {.title = std::string(kTitleProgramError),
          .text = ErrorText("קובץ סניפי בנק מותרים לא נמצא. ייתכן כי יהיו בעיות בקריאת צ'קים. " +
                            std::string(kSupportSentenceEnd)),
          .icon = MessageIcon::Exclamation,
          .buttons = MessageButtons::YesNo};
}

}  // namespace orvex
