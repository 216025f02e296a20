#include "app/tray_menu.h"

#include "base/error.h"

namespace orvex {
namespace {

constexpr uint32_t kNumbersPerCommand = 1000;

TrayMenu SubMenuOf(TrayCommand command) {
  switch (command) {
    case TrayCommand::kRun:
      return TrayMenu::Run;
    case TrayCommand::kSearch:
      return TrayMenu::Search;
    default:
      return TrayMenu::Profile;
  }
}

TrayCommand CommandOf(TrayMenu menu) {
  switch (menu) {
    case TrayMenu::Run:
      return TrayCommand::kRun;
    case TrayMenu::Search:
      return TrayCommand::kSearch;
    case TrayMenu::Profile:
      break;
  }
  return TrayCommand::kProfile;
}

std::string_view PlaceholderCaption(TrayMenu menu) {
  return menu == TrayMenu::Profile ? "אין פרופילים" : "אין פריטים";
}

TrayMenuItem Item(std::string caption, uint32_t commandId, bool enabled, bool checked) {
  TrayMenuItem item;
  item.caption = std::move(caption);
  item.commandId = commandId;
  item.enabled = enabled;
  item.checked = checked;
  return item;
}

bool HasSubMenu(TrayCommand command) {
  return command == TrayCommand::kRun || command == TrayCommand::kSearch || command == TrayCommand::kProfile;
}

}  // namespace

uint32_t MenuCommandId(TrayCommand command, int32_t number) {
  return static_cast<uint32_t>(command) * kNumbersPerCommand + static_cast<uint32_t>(number);
}

ChosenCommand CommandOfMenuId(uint32_t id) {
  return {static_cast<TrayCommand>(id / kNumbersPerCommand), static_cast<int32_t>(id % kNumbersPerCommand)};
}

void TrayMenuState::AddEntry(TrayMenu menu, int32_t number, const std::string& caption) {
  if (number < 1 || number >= static_cast<int32_t>(kNumbersPerCommand)) {
    throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
  }
  if (!subMenus_[menu].entries.emplace(number, caption).second) {
    throw Error(kErrInvalidArgument, "Object already loaded");
  }
}

void TrayMenuState::HidePlaceholder(TrayMenu menu) {
  subMenus_[menu].placeholderHidden = true;
}

void TrayMenuState::SetProfileChecked(int32_t number, bool checked) {
  const auto& entries = subMenus_[TrayMenu::Profile].entries;
  if (number != 0 && !entries.contains(number)) {
    throw Error(kErrInvalidArgument, "Control array element doesn't exist");
  }
  if (checked) {
    checkedProfiles_.insert(number);
  } else {
    checkedProfiles_.erase(number);
  }
}

std::vector<TrayMenuItem> TrayMenuState::SubMenuItems(TrayMenu menu) const {
  const TrayCommand command = CommandOf(menu);
  const auto found = subMenus_.find(menu);
  const SubMenu empty;
  const SubMenu& subMenu = found == subMenus_.end() ? empty : found->second;
  std::vector<TrayMenuItem> items;
  if (!subMenu.placeholderHidden) {
    items.push_back(Item(std::string(PlaceholderCaption(menu)), MenuCommandId(command, 0), false,
                         menu == TrayMenu::Profile && checkedProfiles_.contains(0)));
  }
  for (const auto& [number, caption] : subMenu.entries) {
    items.push_back(Item(caption, MenuCommandId(command, number), true,
                         menu == TrayMenu::Profile && checkedProfiles_.contains(number)));
  }
  return items;
}

std::vector<TrayMenuItem> TrayMenuState::Items() const {
  std::vector<TrayMenuItem> items;
  for (const TrayMenuEntry& entry : kTrayMenu) {
    const bool enabled = entry.command != TrayCommand::kRenameCsv || renameCsvEnabled_;
    TrayMenuItem item = Item(std::string(entry.caption), MenuCommandId(entry.command), enabled, false);
    if (HasSubMenu(entry.command)) {
      item.entries = SubMenuItems(SubMenuOf(entry.command));
    }
    items.push_back(std::move(item));
  }
  return items;
}

TrayEventAction TrayEventActionOf(uint32_t mouseMessage) {
  constexpr uint32_t kLeftButtonUp = 0x0202, kLeftButtonDoubleClick = 0x0203, kRightButtonUp = 0x0205;
  switch (mouseMessage) {
    case kLeftButtonUp:
    case kLeftButtonDoubleClick:
      return TrayEventAction::kShowDetails;
    case kRightButtonUp:
      return TrayEventAction::kOpenMenu;
    default:
      return TrayEventAction::kNone;
  }
}

Message ExitQuestion() {
  // This title names cards before cheques, unlike the common titles.
  return {.title = "קורא כרטיסים וצ'קים של Orvex",
          .text = "האם אתה בטוח שברצונך לצאת מתוכנת קורא הכרטיסים והצ'קים?",
          .icon = MessageIcon::Question,
          .buttons = MessageButtons::YesNo};
}

bool WaitsForDocument(TrayCommand command) {
  switch (command) {
    case TrayCommand::kResetConnection:
    case TrayCommand::kRenameCsv:
    case TrayCommand::kProfile:
    case TrayCommand::kExit:
      return true;
    case TrayCommand::kDetails:
    case TrayCommand::kRun:
    case TrayCommand::kSearch:
      return false;
  }
  return true;
}

Message DocumentAtHandNote() {
  return {.title = std::string(kTitleInformation),
          .text = "מסמך נמצא כעת בטיפול. יש לסיים את הטיפול בו ולבחור שוב בפקודה.",
          .icon = MessageIcon::Exclamation,
          .buttons = MessageButtons::Ok};
}

}  // namespace orvex
