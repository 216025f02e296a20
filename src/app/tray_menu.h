#pragma once

// The tray menu as data: its entries in order with their captions ("&" marks the access key), the
// run, search and profile sub-menus that start-up fills, their placeholders, the profile check
// marks and the enabled state of the log renaming entry. The Win32 shell draws the menu from
// Items() each time it opens, and maps the chosen command id back with CommandOfMenuId.

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_box.h"
#include "config/shell.h"

namespace orvex {

enum class TrayCommand : uint32_t {
  kResetConnection = 1,  // mnuResetConnection
  kRenameCsv,            // RenameCSV
  kDetails,              // mnuRestore
  kRun,                  // mnuRun, entry k: mnuProgram(k)
  kSearch,               // mnuSearch, entry k: mnuFolder(k)
  kProfile,              // mnuProfileMenu, entry k: mnuProfile(k)
  kExit,                 // mnuExit
};

struct TrayMenuEntry {
  std::string_view caption;
  TrayCommand command;
};

inline constexpr std::array<TrayMenuEntry, 7> kTrayMenu{{
    {"איפוס &חיבור לקורא", TrayCommand::kResetConnection},
    {"&איפוס קובץ CSV", TrayCommand::kRenameCsv},
    {"&פרטים", TrayCommand::kDetails},
    {"&הפעלה...", TrayCommand::kRun},
    {"&חיפוש בתיקיה", TrayCommand::kSearch},
    {"&פרופיל...", TrayCommand::kProfile},
    {"&יציאה", TrayCommand::kExit},
}};

// One item of the menu as it is drawn. An item with entries opens a sub-menu.
struct TrayMenuItem {
  std::string caption;
  uint32_t commandId = 0;
  bool enabled = true;
  bool checked = false;
  std::vector<TrayMenuItem> entries;

  bool operator==(const TrayMenuItem&) const = default;
};

// The command id of a menu item: the command, and the entry number inside the run, search and
// profile sub-menus (0 elsewhere). Ids are never 0, which the menu reports for "nothing chosen".
uint32_t MenuCommandId(TrayCommand command, int32_t number = 0);

struct ChosenCommand {
  TrayCommand command;
  int32_t number;

  bool operator==(const ChosenCommand&) const = default;
};
ChosenCommand CommandOfMenuId(uint32_t id);

class TrayMenuState {
 public:
  // The entry numbers are the indexes into programCommands, folderPaths and profileNames; an entry
  // that exists already, or a number outside 1 to 999, throws Error.
  void AddEntry(TrayMenu menu, int32_t number, const std::string& caption);
  void HidePlaceholder(TrayMenu menu);
  // Entry 0, the placeholder, may carry the mark too; any other number that names no entry throws Error.
  void SetProfileChecked(int32_t number, bool checked);
  void EnableRenameCsv(bool enabled) { renameCsvEnabled_ = enabled; }

  std::vector<TrayMenuItem> Items() const;

 private:
  struct SubMenu {
    std::map<int32_t, std::string> entries;
    bool placeholderHidden = false;
  };

  std::vector<TrayMenuItem> SubMenuItems(TrayMenu menu) const;

  std::map<TrayMenu, SubMenu> subMenus_;
  std::set<int32_t> checkedProfiles_;
  bool renameCsvEnabled_ = false;
};

// What a mouse message of the tray icon does.
enum class TrayEventAction { kNone, kShowDetails, kOpenMenu };
TrayEventAction TrayEventActionOf(uint32_t mouseMessage);

// The question before the program ends from the tray.
Message ExitQuestion();

// Commands that change what a document in progress works with (the reader, the log, the profile)
// or end the program: while a document is at hand they are refused with DocumentAtHandNote.
bool WaitsForDocument(TrayCommand command);
Message DocumentAtHandNote();

}  // namespace orvex
