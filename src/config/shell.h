#pragma once

// What the configuration shows in the shell: the tray icon and its tip, the tray menu's run,
// search and profile sub-menus, the details window's profile list, and the few main-window
// services that start-up needs. The Win32 shell implements it; tests record it.
//
// A call that fails (a menu entry or list position that does not exist, a window that is gone)
// throws Error; the callers skip such a step and go on.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

// The tray menu's sub-menus that start-up fills. Entry 0 of each is a disabled placeholder
// ("אין פריטים" for Run and Search, "אין פרופילים" for Profile); entries 1 to n are added.
enum class TrayMenu { Run, Search, Profile };

class Shell {
 public:
  virtual ~Shell() = default;

  // Stores the 64-character tip field (see TrayTipField) in the tray icon record and updates the icon.
  virtual void SetTrayTip(std::string_view tipField) = 0;
  // The drawing surface of the tray icon: font size of the profile number, and text colour.
  virtual void SetIconFontSize(int16_t size) = 0;
  virtual void SetIconTextColour(int16_t red, int16_t green, int16_t blue) = 0;
  // Redraws the tray icon over the background colour, with the profile number when the font size
  // is above 1.
  virtual void ChangeIcon(uint8_t red, uint8_t green, uint8_t blue, int32_t profileNumber) = 0;
  virtual void RemoveTrayIcon() = 0;

  // Creates entry `number` of the sub-menu, enabled, with the caption ("&" marks the access key).
  virtual void AddMenuEntry(TrayMenu menu, int32_t number, const std::string& caption) = 0;
  virtual void HideMenuPlaceholder(TrayMenu menu) = 0;
  virtual void SetProfileChecked(int32_t number, bool checked) = 0;
  // The tray entry that renames the cheque log.
  virtual void EnableRenameCsv(bool enabled) = 0;

  virtual bool DetailsWindowExists() = 0;
  virtual void ClearDetailsProfiles() = 0;
  virtual void AppendDetailsProfile(const std::string& name) = 0;
  // Selects a position (0 = profile 1) of the details window's profile list; nothing when the
  // window does not exist.
  virtual void SelectDetailsProfile(int32_t position) = 0;

  // Request time-out of the web client, in seconds.
  virtual void SetRequestTimeout(int32_t seconds) = 0;
  // Shows the splash window, not modal; it closes itself after the interval.
  virtual void ShowSplash(int32_t intervalMilliseconds) = 0;
  // Disables the polling timer.
  virtual void StopPolling() = 0;
  // The program's orderly exit (leaves the watchdog's shutdown semaphore). Ends the process.
  virtual void DoEnd(bool unload) = 0;
};

}  // namespace orvex
