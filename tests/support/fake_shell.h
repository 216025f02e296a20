#pragma once

// A shell that keeps the state a user would see (tray tip, icon, menus, details list) and fails
// like the real one: a menu entry or list position that does not exist throws Error.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "config/shell.h"

namespace orvex::test_support {

class FakeShell : public Shell {
 public:
  struct Icon {
    uint8_t red, green, blue;
    int32_t profileNumber;
    int16_t fontSize;
    int16_t textRed, textGreen, textBlue;
    bool operator==(const Icon&) const = default;
  };

  void SetTrayTip(std::string_view tipField) override {
    trayTip = std::string(tipField);
    ++trayTipUpdates;
  }
  void SetIconFontSize(int16_t size) override { iconFontSize = size; }
  void SetIconTextColour(int16_t red, int16_t green, int16_t blue) override {
    textRed = red, textGreen = green, textBlue = blue;
  }
  void ChangeIcon(uint8_t red, uint8_t green, uint8_t blue, int32_t profileNumber) override {
    icon = Icon{red, green, blue, profileNumber, iconFontSize, textRed, textGreen, textBlue};
  }
  void RemoveTrayIcon() override { trayIconRemoved = true; }

  void AddMenuEntry(TrayMenu menu, int32_t number, const std::string& caption) override {
    auto& entries = menus[menu];
    if (number != static_cast<int32_t>(entries.size()) + 1) {
      throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
    }
    entries.push_back(caption);
  }
  void HideMenuPlaceholder(TrayMenu menu) override { hiddenPlaceholders.insert(menu); }
  void SetProfileChecked(int32_t number, bool checked) override {
    // Entry 0 is the placeholder "אין פרופילים".
    if (number < 0 || number > static_cast<int32_t>(menus[TrayMenu::Profile].size())) {
      throw Error(kErrInvalidArgument, "Control array element doesn't exist");
    }
    if (checked) {
      checkedProfiles.insert(number);
    } else {
      checkedProfiles.erase(number);
    }
  }
  void EnableRenameCsv(bool enabled) override { renameCsvEnabled = enabled; }

  bool DetailsWindowExists() override { return detailsWindowExists; }
  void ClearDetailsProfiles() override { detailsProfiles.clear(); }
  void AppendDetailsProfile(const std::string& name) override { detailsProfiles.push_back(name); }
  void SelectDetailsProfile(int32_t position) override {
    if (!detailsWindowExists) {
      return;
    }
    if (position < 0 || position >= static_cast<int32_t>(detailsProfiles.size())) {
      throw Error(kErrInvalidArgument, "Invalid property value");
    }
    detailsSelection = position;
  }

  void SetRequestTimeout(int32_t seconds) override { requestTimeout = seconds; }
  void ShowSplash(int32_t intervalMilliseconds) override { splashInterval = intervalMilliseconds; }
  void StopPolling() override { pollingStopped = true; }
  void DoEnd(bool unload) override { endedWithUnload = unload; }

  // The visible part of the tip: the field up to its NUL.
  std::string VisibleTrayTip() const { return trayTip.substr(0, trayTip.find('\0')); }
  const std::vector<std::string>& MenuEntries(TrayMenu menu) { return menus[menu]; }

  std::string trayTip;
  int trayTipUpdates = 0;
  int16_t iconFontSize = 0;
  int16_t textRed = 0, textGreen = 0, textBlue = 0;
  std::optional<Icon> icon;
  bool trayIconRemoved = false;
  std::map<TrayMenu, std::vector<std::string>> menus;
  std::set<TrayMenu> hiddenPlaceholders;
  std::set<int32_t> checkedProfiles;
  std::optional<bool> renameCsvEnabled;
  bool detailsWindowExists = false;
  std::vector<std::string> detailsProfiles;
  std::optional<int32_t> detailsSelection;
  std::optional<int32_t> requestTimeout;
  std::optional<int32_t> splashInterval;
  bool pollingStopped = false;
  std::optional<bool> endedWithUnload;
};

}  // namespace orvex::test_support
