#include "app/tray_menu.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace orvex {
namespace {

struct Shown {
  std::string caption;
  bool enabled;
  bool checked;
  bool operator==(const Shown&) const = default;
};

std::vector<Shown> Visible(const std::vector<TrayMenuItem>& items) {
  std::vector<Shown> shown;
  for (const TrayMenuItem& item : items) {
    shown.push_back({item.caption, item.enabled, item.checked});
  }
  return shown;
}

const TrayMenuItem& EntryCaptioned(const std::vector<TrayMenuItem>& items, std::string_view caption) {
  return *std::find_if(items.begin(), items.end(), [&](const TrayMenuItem& item) { return item.caption == caption; });
}

TEST(TrayMenu, BeforeStartUpFillsItTheSubMenusHoldTheirDisabledPlaceholders) {
  const std::vector<TrayMenuItem> items = TrayMenuState().Items();
  const std::vector<Shown> expected{
      {"איפוס &חיבור לקורא", true, false},
      {"&איפוס קובץ CSV", false, false},
      {"&פרטים", true, false},
      {"&הפעלה...", true, false},
      {"&חיפוש בתיקיה", true, false},
      {"&פרופיל...", true, false},
      {"&יציאה", true, false},
  };
  EXPECT_EQ(Visible(items), expected);
  EXPECT_EQ(Visible(EntryCaptioned(items, "&הפעלה...").entries), (std::vector<Shown>{{"אין פריטים", false, false}}));
  EXPECT_EQ(Visible(EntryCaptioned(items, "&חיפוש בתיקיה").entries),
            (std::vector<Shown>{{"אין פריטים", false, false}}));
  EXPECT_EQ(Visible(EntryCaptioned(items, "&פרופיל...").entries), (std::vector<Shown>{{"אין פרופילים", false, false}}));
  EXPECT_TRUE(EntryCaptioned(items, "&יציאה").entries.empty());
}

TEST(TrayMenu, FilledSubMenusShowTheirEntriesWithTheActiveProfileChecked) {
  TrayMenuState menu;
  menu.AddEntry(TrayMenu::Profile, 1, "Default");
  menu.AddEntry(TrayMenu::Profile, 2, "Bank11");
  menu.HidePlaceholder(TrayMenu::Profile);
  menu.AddEntry(TrayMenu::Run, 1, "&Notepad");
  menu.HidePlaceholder(TrayMenu::Run);
  menu.SetProfileChecked(0, false);
  menu.SetProfileChecked(1, true);
  menu.SetProfileChecked(1, false);
  menu.SetProfileChecked(2, true);
  menu.EnableRenameCsv(true);
  const std::vector<TrayMenuItem> items = menu.Items();
  EXPECT_EQ(Visible(EntryCaptioned(items, "&פרופיל...").entries),
            (std::vector<Shown>{{"Default", true, false}, {"Bank11", true, true}}));
  EXPECT_EQ(Visible(EntryCaptioned(items, "&הפעלה...").entries), (std::vector<Shown>{{"&Notepad", true, false}}));
  EXPECT_EQ(Visible(EntryCaptioned(items, "&חיפוש בתיקיה").entries),
            (std::vector<Shown>{{"אין פריטים", false, false}}));
  EXPECT_TRUE(EntryCaptioned(items, "&איפוס קובץ CSV").enabled);
}

TEST(TrayMenu, EntriesThatDoNotExistOrExistTwiceFail) {
  TrayMenuState menu;
  menu.AddEntry(TrayMenu::Search, 1, "a");
  EXPECT_THROW(menu.AddEntry(TrayMenu::Search, 1, "b"), Error);
  EXPECT_THROW(menu.AddEntry(TrayMenu::Search, 0, "b"), Error);
  EXPECT_THROW(menu.SetProfileChecked(1, true), Error);
}

TEST(TrayMenu, AChosenItemNamesItsCommandAndEntry) {
  TrayMenuState menu;
  menu.AddEntry(TrayMenu::Profile, 7, "Seven");
  menu.AddEntry(TrayMenu::Search, 127, "Last");
  const std::vector<TrayMenuItem> items = menu.Items();
  EXPECT_EQ(CommandOfMenuId(EntryCaptioned(items, "&פרופיל...").entries.back().commandId),
            (ChosenCommand{TrayCommand::kProfile, 7}));
  EXPECT_EQ(CommandOfMenuId(EntryCaptioned(items, "&חיפוש בתיקיה").entries.back().commandId),
            (ChosenCommand{TrayCommand::kSearch, 127}));
  EXPECT_EQ(CommandOfMenuId(EntryCaptioned(items, "&יציאה").commandId), (ChosenCommand{TrayCommand::kExit, 0}));
  for (const TrayMenuItem& item : items) {
    EXPECT_NE(item.commandId, 0u) << "0 is the menu's answer for nothing chosen";
  }
}

TEST(TrayEvents, LeftClicksOpenTheDetailsAndTheRightButtonTheMenu) {
  const struct {
    uint32_t message;
    TrayEventAction action;
  } cases[] = {
      {0x0202, TrayEventAction::kShowDetails},  // left button released
      {0x0203, TrayEventAction::kShowDetails},  // left double click
      {0x0205, TrayEventAction::kOpenMenu},     // right button released
      {0x0200, TrayEventAction::kNone},         // move
      {0x0201, TrayEventAction::kNone},         // left button pressed
      {0x0204, TrayEventAction::kNone},         // right button pressed
      {0x0206, TrayEventAction::kNone},         // right double click
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrayEventActionOf(c.message), c.action) << c.message;
  }
}

}  // namespace
}  // namespace orvex
