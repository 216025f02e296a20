#include "config/profiles.h"

#include <utility>

#include "base/error.h"
#include "base/text_codec.h"

namespace orvex {
namespace {

std::string DescribeFailedConversion(std::string_view section, const ProfileKey& key, std::string_view text) {
  return "LoadProfile: [" + std::string(section) + "] " + std::string(key.key) + "=" + std::string(text) +
         " does not convert; the previous value stays";
}

}  // namespace

std::string TrayTipField(std::string_view profileName) {
  const std::string tip = std::string(kTrayTipPrefix) + std::string(profileName);
  std::string field(Utf8Prefix(tip, kTrayTipFieldLength - 1));
  const size_t characters = Utf8Length(field);
  field += '\0';
  field.append(kTrayTipFieldLength - 1 - characters, ' ');
  return field;
}

bool Profiles::NamesAProfile(int32_t number) const {
  return number >= 1 && number <= profileNames_.Count();
}

void Profiles::LoadProfile(int32_t number) {
  // A number that names no profile leaves the INI object on the section it is on.
  if (NamesAProfile(number)) {
    ini_.SetSection(profileNames_.At(number));
    NoteUnknownKeysOnce(ini_, kProfileKeyNames, notes_);
  }
  ReadKeys(ini_.Section());
  ApplyToIconSurfaceAndClients();
  ShowLoadedProfile(number);
}

void Profiles::ReadKeys(std::string_view sectionName) {
  for (const ProfileKey& key : kProfileKeys) {
    RunSkippingError([&] {
      ini_.SetKey(key.key);
      ini_.SetDefault(key.defaultValue);
      const std::string text = ini_.Value();
      if (!StoreProfileValue(key, text, settings_)) {
        notes_.Add(DescribeFailedConversion(sectionName, key, text));
      }
    });
  }
  if (settings_.ActivateWindowTitle == kNoActivateWindowTitle) {
    settings_.ActivateWindow = false;
  }
  if (!settings_.AccountListPath.empty() && settings_.AccountListPath.back() != '\\') {
    settings_.AccountListPath += '\\';
  }
}

void Profiles::ApplyToIconSurfaceAndClients() {
  RunSkippingError([&] { shell_.SetIconFontSize(settings_.IconFontSize); });
  RunSkippingError([&] { shell_.SetIconTextColour(settings_.TextRed, settings_.TextGreen, settings_.TextBlue); });
  RunSkippingError([&] { shell_.EnableRenameCsv(!settings_.CSVRenTemplate.empty()); });
  RunSkippingError([&] { shell_.SetRequestTimeout(settings_.URLConnectionTimeout); });
}

void Profiles::ShowLoadedProfile(int32_t number) {
  RunSkippingError([&] {
    shell_.SetTrayTip(
        TrayTipField(NamesAProfile(number) ? std::string_view(profileNames_.At(number)) : kDefaultSettingsName));
  });
  RunSkippingError([&] { shell_.SetProfileChecked(currentProfile_, false); });
  RunSkippingError([&] { shell_.SetProfileChecked(number, true); });
  currentProfile_ = number;
  RunSkippingError([&] { shell_.SelectDetailsProfile(number - 1); });
  RunSkippingError([&] { shell_.ChangeIcon(settings_.Red, settings_.Green, settings_.Blue, number); });
}

int32_t Profiles::FindProfile(std::string_view name) const {
  return profileNames_.NumberOf(std::string(name));
}

void Profiles::NewProfileChosen(int32_t number) {
  if (number != currentProfile_) {
    LoadProfile(number);
  }
}

void Profiles::LoadStartProfile(std::string_view defaultProfileName) {
  for (int32_t number = 1; number <= profileNames_.Count(); ++number) {
    if (profileNames_.At(number) == defaultProfileName) {
      LoadProfile(number);
    }
  }
  if (currentProfile_ == 0) {
    LoadProfile(1);
  }
}

void Profiles::WithBankProfile(std::string_view bankNumber, const std::function<void()>& work) {
  const int32_t bankProfile = FindProfile("Bank" + std::string(bankNumber));
  if (bankProfile == 0) {
    work();
    return;
  }
  const int32_t previousProfile = currentProfile_;
  LoadProfile(bankProfile);
  try {
    work();
  } catch (...) {
    LoadProfile(previousProfile);
    throw;
  }
  LoadProfile(previousProfile);
}

}  // namespace orvex
