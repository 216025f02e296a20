#pragma once

// ProfileSettings: the active profile's settings, one field per profile key, and the key table
// (key, type, default, field) that the loader, the sample configuration's tests and the
// documentation all read. A profile is every section of OrvexExcella.ini other than [Config].

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace orvex {

struct ProfileSettings {
  // Tray icon: background colour, font size of the profile number (1 = no number), text colour.
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  int16_t IconFontSize = 0;
  int16_t TextRed = 0;
  int16_t TextGreen = 0;
  int16_t TextBlue = 0;
  // Image options sent to the reader.
  std::string IDColorDepth;
  std::string IDResolution;
  std::string FrontColorDepth;
  std::string FrontResolution;
  std::string BackColorDepth;
  std::string BackResolution;
  // Keystroke delivery.
  bool ActivateWindow = false;
  bool ActivateWindowAfter = false;
  std::string ActivateWindowTitle;
  bool WaitMode = false;
  int32_t KeyPressDelay = 0;
  bool UseOldSendKeys = false;
  bool DoEventsOnDelay = false;
  bool ClipboardWin98DOS = false;
  // Cheque handling.
  uint8_t LetUserFillDetails = 0;
  bool IgnoreVerify = false;
  uint8_t TabChar = 0;
  uint8_t DontPassPartialRead = 0;
  std::string CSVFile;
  std::string CSVRenTemplate;
  bool WhenActivateWindowFails = false;
  // Field cutting of the cheque line.
  int32_t ChequeNumStart = 0;
  int32_t ChequeNumLength = 0;
  int32_t ChequeNumLeadingZeros = 0;
  bool ChequeNumFlip = false;
  int32_t ChequeBankNumStart = 0;
  int32_t ChequeBankNumLength = 0;
  int32_t ChequeBankNumLeadingZeros = 0;
  bool ChequeBankNumFlip = false;
  int32_t ChequeBranchNumStart = 0;
  int32_t ChequeBranchNumLength = 0;
  int32_t ChequeBranchNumLeadingZeros = 0;
  bool ChequeBranchNumFlip = false;
  int32_t ChequeBranchCodeStart = 0;
  int32_t ChequeBranchCodeLength = 0;
  int32_t ChequeBranchCodeLeadingZeros = 0;
  bool ChequeBranchCodeFlip = false;
  int32_t ChequeAccountNumStart = 0;
  int32_t ChequeAccountNumLength = 0;
  int32_t ChequeAccountNumLeadingZeros = 0;
  bool ChequeAccountNumFlip = false;
  bool TrimAccountByBank = false;
  // Images and templates.
  bool CombineChequeImages = false;
  bool CreateXML = false;
  std::string ImageFileNameTemplate;
  std::string LimitedImageFileNameTemplate;
  std::string BackImageFileNameTemplate;
  std::string LimitedBackImageFileNameTemplate;
  std::string GenUSTemplate;
  std::string GenUSFileNameTemplate;
  std::string GenUSBackFileNameTemplate;
  std::string UnidentifiedTemplate;
  std::string UnidentifiedFileNameTemplate;
  std::string UnidentifiedBackFileNameTemplate;
  std::string IDCardImagePath;
  std::string ScanOverrideFileNameTemplate;
  bool ImageBeforeSendKeys = false;
  int32_t MinUnreadCharsForNoMICR = 0;
  // Restricted accounts.
  std::string AccountListPath;  // empty, or ending in a backslash
  std::string LimitedAccountURL;
  int32_t URLConnectionTimeout = 0;  // seconds; handed to the web client on every load
  bool SendChequeIfLimited = false;
  // Keystroke templates, endorsement and magnetic cards.
  std::string ChequeTemplate;
  std::string EndorseFront;
  std::string EndorseBack;
  int32_t MagStripe2Part1Start = 0;
  int32_t MagStripe2Part1Length = 0;
  int32_t MagStripe2Part1LeadingZeros = 0;
  bool MagStripe2Part1Flip = false;
  int32_t MagStripe2Part2Start = 0;
  int32_t MagStripe2Part2Length = 0;
  int32_t MagStripe2Part2LeadingZeros = 0;
  bool MagStripe2Part2Flip = false;
  std::string MagStripe2Template;
  std::string MagStripe1Template;

  bool operator==(const ProfileSettings&) const = default;
};

// How the text of a key becomes its field.
enum class ProfileKeyType {
  Byte,          // whole number 0 to 255
  Int16,         // signed 16-bit whole number
  Int32,         // signed 32-bit whole number
  Flag,          // 16-bit whole number, non-zero is on
  ByteFlag,      // whole number 0 to 255, non-zero is on
  Boolean,       // "TRUE"/"FALSE" in any case, or a number (non-zero is true)
  Text,          // as read
  IconFontSize,  // 16-bit whole number clamped to 1..72; anything else gives 1
};

using ProfileField = std::variant<uint8_t ProfileSettings::*, int16_t ProfileSettings::*, int32_t ProfileSettings::*,
                                  bool ProfileSettings::*, std::string ProfileSettings::*>;

struct ProfileKey {
  std::string_view key;
  ProfileKeyType type;
  std::string_view defaultValue;
  ProfileField field;
};

// The title that stands for "no target window configured"; a profile that reads it switches
// ActivateWindow off.
inline constexpr std::string_view kNoActivateWindowTitle = "**NONE READ**";

inline constexpr std::string_view kDefaultChequeTemplate =
    "שיק:{ENTER}מספק: {ChequeNum}{TAB}בנק: {BankNum}{ENTER}סניף: {BranchNum}{TAB}חשבון: {AccountNum}{ENTER}{ENTER}";
inline constexpr std::string_view kDefaultMagStripe2Template =
    "כרטיס מגנטי:{ENTER}מספר כרטיס: {MagPart1}{TAB}תוקף: {MagPart2}{ENTER}{ENTER}";
inline constexpr std::string_view kDefaultMagStripe1Template =
    "כרטיס מגנטי:{ENTER}שם: {Name}{TAB}מספר כרטיס: {Account}{TAB}תוקף: {Date}{ENTER}{ENTER}";

// The profile keys in the order a load reads them.
inline constexpr auto kProfileKeys = [] {
  using enum ProfileKeyType;
  using PS = ProfileSettings;
  return std::to_array<ProfileKey>({
      {"Red", Byte, "255", &PS::Red},
      {"Green", Byte, "255", &PS::Green},
      {"Blue", Byte, "255", &PS::Blue},
      {"IconFontSize", IconFontSize, "1", &PS::IconFontSize},
      {"TextRed", Int16, "0", &PS::TextRed},
      {"TextGreen", Int16, "0", &PS::TextGreen},
      {"TextBlue", Int16, "255", &PS::TextBlue},
      {"IDColorDepth", Text, "GRAY8", &PS::IDColorDepth},
      {"IDResolution", Text, "200X200", &PS::IDResolution},
      {"FrontColorDepth", Text, "GRAY8", &PS::FrontColorDepth},
      {"FrontResolution", Text, "200X200", &PS::FrontResolution},
      {"BackColorDepth", Text, "GRAY8", &PS::BackColorDepth},
      {"BackResolution", Text, "100X100", &PS::BackResolution},
      {"ActivateWindow", Flag, "0", &PS::ActivateWindow},
      {"ActivateWindowAfter", Flag, "0", &PS::ActivateWindowAfter},
      {"ActivateWindowTitle", Text, kNoActivateWindowTitle, &PS::ActivateWindowTitle},
      {"WaitMode", Flag, "0", &PS::WaitMode},
      {"KeyPressDelay", Int32, "0", &PS::KeyPressDelay},
      {"UseOldSendKeys", Flag, "0", &PS::UseOldSendKeys},
      {"DoEventsOnDelay", Flag, "0", &PS::DoEventsOnDelay},
      {"ClipboardWin98DOS", Flag, "0", &PS::ClipboardWin98DOS},
      {"LetUserFillDetails", Byte, "0", &PS::LetUserFillDetails},
      {"IgnoreVerify", ByteFlag, "0", &PS::IgnoreVerify},
      {"TabChar", Byte, "32", &PS::TabChar},
      {"DontPassPartialRead", Byte, "1", &PS::DontPassPartialRead},
      {"CSVFile", Text, "", &PS::CSVFile},
      {"CSVRenTemplate", Text, "", &PS::CSVRenTemplate},
      {"WhenActivateWindowFails", Flag, "1", &PS::WhenActivateWindowFails},
      {"ChequeNumStart", Int32, "1", &PS::ChequeNumStart},
      {"ChequeNumLength", Int32, "8", &PS::ChequeNumLength},
      {"ChequeNumLeadingZeros", Int32, "1", &PS::ChequeNumLeadingZeros},
      {"ChequeNumFlip", Boolean, "FALSE", &PS::ChequeNumFlip},
      {"ChequeBankNumStart", Int32, "1", &PS::ChequeBankNumStart},
      {"ChequeBankNumLength", Int32, "2", &PS::ChequeBankNumLength},
      {"ChequeBankNumLeadingZeros", Int32, "1", &PS::ChequeBankNumLeadingZeros},
      {"ChequeBankNumFlip", Boolean, "FALSE", &PS::ChequeBankNumFlip},
      {"ChequeBranchNumStart", Int32, "1", &PS::ChequeBranchNumStart},
      {"ChequeBranchNumLength", Int32, "5", &PS::ChequeBranchNumLength},
      {"ChequeBranchNumLeadingZeros", Int32, "1", &PS::ChequeBranchNumLeadingZeros},
      {"ChequeBranchNumFlip", Boolean, "FALSE", &PS::ChequeBranchNumFlip},
      {"ChequeBranchCodeStart", Int32, "1", &PS::ChequeBranchCodeStart},
      {"ChequeBranchCodeLength", Int32, "5", &PS::ChequeBranchCodeLength},
      {"ChequeBranchCodeLeadingZeros", Int32, "1", &PS::ChequeBranchCodeLeadingZeros},
      {"ChequeBranchCodeFlip", Boolean, "FALSE", &PS::ChequeBranchCodeFlip},
      {"ChequeAccountNumStart", Int32, "1", &PS::ChequeAccountNumStart},
      {"ChequeAccountNumLength", Int32, "9", &PS::ChequeAccountNumLength},
      {"ChequeAccountNumLeadingZeros", Int32, "1", &PS::ChequeAccountNumLeadingZeros},
      {"ChequeAccountNumFlip", Boolean, "FALSE", &PS::ChequeAccountNumFlip},
      {"TrimAccountByBank", Flag, "0", &PS::TrimAccountByBank},
      {"CombineChequeImages", Flag, "0", &PS::CombineChequeImages},
      {"CreateXML", Flag, "0", &PS::CreateXML},
      {"ImageFileNameTemplate", Text, "", &PS::ImageFileNameTemplate},
      {"LimitedImageFileNameTemplate", Text, "", &PS::LimitedImageFileNameTemplate},
      {"BackImageFileNameTemplate", Text, "", &PS::BackImageFileNameTemplate},
      {"LimitedBackImageFileNameTemplate", Text, "", &PS::LimitedBackImageFileNameTemplate},
      {"GenUSTemplate", Text, "", &PS::GenUSTemplate},
      {"GenUSFileNameTemplate", Text, "", &PS::GenUSFileNameTemplate},
      {"GenUSBackFileNameTemplate", Text, "", &PS::GenUSBackFileNameTemplate},
      {"UnidentifiedTemplate", Text, "", &PS::UnidentifiedTemplate},
      {"UnidentifiedFileNameTemplate", Text, "", &PS::UnidentifiedFileNameTemplate},
      {"UnidentifiedBackFileNameTemplate", Text, "", &PS::UnidentifiedBackFileNameTemplate},
      {"IDCardImagePath", Text, "", &PS::IDCardImagePath},
      {"ScanOverrideFileNameTemplate", Text, "", &PS::ScanOverrideFileNameTemplate},
      {"ImageBeforeSendKeys", Flag, "0", &PS::ImageBeforeSendKeys},
      {"MinUnreadCharsForNoMICR", Int32, "0", &PS::MinUnreadCharsForNoMICR},
      {"AccountListPath", Text, "", &PS::AccountListPath},
      {"LimitedAccountURL", Text, "", &PS::LimitedAccountURL},
      {"URLConnectionTimeout", Int32, "60", &PS::URLConnectionTimeout},
      {"SendChequeIfLimited", Boolean, "0", &PS::SendChequeIfLimited},
      {"ChequeTemplate", Text, kDefaultChequeTemplate, &PS::ChequeTemplate},
      {"EndorseFront", Text, "", &PS::EndorseFront},
      {"EndorseBack", Text, "", &PS::EndorseBack},
      {"MagStripe2Part1Start", Int32, "1", &PS::MagStripe2Part1Start},
      {"MagStripe2Part1Length", Int32, "16", &PS::MagStripe2Part1Length},
      {"MagStripe2Part1LeadingZeros", Int32, "1", &PS::MagStripe2Part1LeadingZeros},
      {"MagStripe2Part1Flip", Boolean, "FALSE", &PS::MagStripe2Part1Flip},
      {"MagStripe2Part2Start", Int32, "1", &PS::MagStripe2Part2Start},
      {"MagStripe2Part2Length", Int32, "4", &PS::MagStripe2Part2Length},
      {"MagStripe2Part2LeadingZeros", Int32, "1", &PS::MagStripe2Part2LeadingZeros},
      {"MagStripe2Part2Flip", Boolean, "FALSE", &PS::MagStripe2Part2Flip},
      {"MagStripe2Template", Text, kDefaultMagStripe2Template, &PS::MagStripe2Template},
      {"MagStripe1Template", Text, kDefaultMagStripe1Template, &PS::MagStripe1Template},
  });
}();

// The alternative of ProfileField that a key of the type fills.
constexpr size_t FieldAlternativeOf(ProfileKeyType type) {
  switch (type) {
    case ProfileKeyType::Byte:
      return 0;
    case ProfileKeyType::Int16:
    case ProfileKeyType::IconFontSize:
      return 1;
    case ProfileKeyType::Int32:
      return 2;
    case ProfileKeyType::Flag:
    case ProfileKeyType::ByteFlag:
    case ProfileKeyType::Boolean:
      return 3;
    case ProfileKeyType::Text:
      break;
  }
  return 4;
}

consteval bool KeyTypesFitTheirFields() {
  for (const ProfileKey& key : kProfileKeys) {
    if (key.field.index() != FieldAlternativeOf(key.type)) {
      return false;
    }
  }
  return true;
}
static_assert(KeyTypesFitTheirFields());

// Every field at its key's default: what a profile whose keys are all missing or damaged gives.
ProfileSettings DefaultProfileSettings();

// Converts the text read for the key and stores it in its field; returns whether the text converted.
// A text that does not convert leaves the field as it was (IconFontSize takes 1 instead).
bool StoreProfileValue(const ProfileKey& key, std::string_view text, ProfileSettings& settings);

}  // namespace orvex
