#pragma once

// The profiles: the list of profile sections, the active one, and the loading of a section into
// ProfileSettings with what a load shows in the shell (tray tip, check marks, details window, icon).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/numbered_list.h"
#include "config/configuration_notes.h"
#include "config/ini_file.h"
#include "config/profile_settings.h"
#include "config/shell.h"

namespace orvex {

// The tray tip names the active profile after this prefix (36 characters).
inline constexpr std::string_view kTrayTipPrefix = "קורא צ'קים וכרטיסים - פרופיל נוכחי: ";
// Stands for the profile name when the number loaded names no profile.
inline constexpr std::string_view kDefaultSettingsName = "<הגדרות ברירת מחדל>";
// Characters of the tray icon record's tip field, its terminating NUL included.
inline constexpr size_t kTrayTipFieldLength = 64;

// The tip field: the prefix and the name, cut to 63 characters so that a NUL always follows,
// then blanks up to 64 characters.
std::string TrayTipField(std::string_view profileName);

class Profiles {
 public:
  // ini: the shared INI object, already on the configuration file; a load moves it to the
  // profile's section. The settings start at the keys' defaults, so that a key the first profile
  // holds damaged gives its default.
  Profiles(cInifile& ini, Shell& shell, ConfigurationNotes& notes) : ini_(ini), shell_(shell), notes_(notes) {}

  const NumberedList& ProfileNames() const { return profileNames_; }
  // Built once at start-up.
  void SetProfileNames(NumberedList names) { profileNames_ = std::move(names); }

  // The loaded profile's number; 0 before the first load.
  int32_t CurrentProfile() const { return currentProfile_; }
  const ProfileSettings& Settings() const { return settings_; }
  // The notes of the run: a profile's keys are looked at on its first load, its values on each.
  ConfigurationNotes& Notes() { return notes_; }

  // Loads profile `number` into the settings and makes it current. A number that names no profile
  // still becomes current: the keys then take their defaults (or what the INI object's current
  // section holds) and the tray tip shows the default settings. Fields whose text does not
  // convert keep the previous profile's values. Never throws Error.
  void LoadProfile(int32_t number);

  // The number of the first profile named exactly `name`, or 0.
  int32_t FindProfile(std::string_view name) const;

  // The details window's choice: loads the profile unless it is already current.
  void NewProfileChosen(int32_t number);

  // Start-up: loads every profile named `defaultProfileName`; when none is, profile 1.
  void LoadStartProfile(std::string_view defaultProfileName);

  // Runs the work for a cheque of the bank (its number as read from the MICR line) with the
  // profile "Bank" + bank when one exists, and loads the previous profile again afterwards, also
  // when the work throws. Without such a profile the work runs with the current one.
  void WithBankProfile(std::string_view bankNumber, const std::function<void()>& work);

 private:
  bool NamesAProfile(int32_t number) const;
  void ReadKeys(std::string_view sectionName);
  void ApplyToIconSurfaceAndClients();
  void ShowLoadedProfile(int32_t number);

  cInifile& ini_;
  Shell& shell_;
  ConfigurationNotes& notes_;
  NumberedList profileNames_;
  int32_t currentProfile_ = 0;
  ProfileSettings settings_;
};

}  // namespace orvex
