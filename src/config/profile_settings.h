#pragma once

// ProfileSettings: the active profile's settings, one field per profile key, and the key table
// (key, type, default, field, meaning) that the loader, the sample configuration's tests and the
// documentation all read. A profile is every section of OrvexExcella.ini other than [Config].

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace orvex {

// What the operator completes of a cheque the reader read (LetUserFillDetails).
namespace UserFillsDetails {
inline constexpr uint8_t kNothing = 0;      // an unreadable cheque is discarded
inline constexpr uint8_t kMissingData = 1;  // the data dialog, for an unread or failing cheque
inline constexpr uint8_t kFullCheque = 2;   // the full dialog with the preview and the cheque date
}  // namespace UserFillsDetails

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
  uint8_t LetUserFillDetails = 0;  // one of the UserFillsDetails values (any other: no dialog either)
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
  std::string_view description;  // what the key sets, for the user guide's key reference
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
      {"Red", Byte, "255", &PS::Red, "Red part of the tray icon's background, 0 to 255."},
      {"Green", Byte, "255", &PS::Green, "Green part of the tray icon's background, 0 to 255."},
      {"Blue", Byte, "255", &PS::Blue, "Blue part of the tray icon's background, 0 to 255."},
      {"IconFontSize", IconFontSize, "1", &PS::IconFontSize,
       "Size of the profile number drawn on the tray icon, 1 to 72; 1 draws no number."},
      {"TextRed", Int16, "0", &PS::TextRed, "Red part of the profile number's colour, 0 to 255."},
      {"TextGreen", Int16, "0", &PS::TextGreen, "Green part of the profile number's colour, 0 to 255."},
      {"TextBlue", Int16, "255", &PS::TextBlue, "Blue part of the profile number's colour, 0 to 255."},
      {"IDColorDepth", Text, "GRAY8", &PS::IDColorDepth,
       "Colour depth of ID card images as the reader names it: GRAY8 (grey) or COL24 (colour)."},
      {"IDResolution", Text, "200X200", &PS::IDResolution,
       "Resolution of ID card images, horizontal x vertical dots per inch (100x100, 200x200, 300x300)."},
      {"FrontColorDepth", Text, "GRAY8", &PS::FrontColorDepth, "Colour depth of cheque fronts: GRAY8 or COL24."},
      {"FrontResolution", Text, "200X200", &PS::FrontResolution, "Resolution of cheque fronts."},
      {"BackColorDepth", Text, "GRAY8", &PS::BackColorDepth, "Colour depth of cheque backs: GRAY8 or COL24."},
      {"BackResolution", Text, "100X100", &PS::BackResolution, "Resolution of cheque backs."},
      {"ActivateWindow", Flag, "0", &PS::ActivateWindow,
       "1: bring the window named by ActivateWindowTitle to the front before typing."},
      {"ActivateWindowAfter", Flag, "0", &PS::ActivateWindowAfter,
       "1: bring that window to the front again after typing."},
      {"ActivateWindowTitle", Text, kNoActivateWindowTitle, &PS::ActivateWindowTitle,
       "The title, or part of the title, of the window that receives the typed text; without it ActivateWindow is "
       "off."},
      {"WaitMode", Flag, "0", &PS::WaitMode, "1: wait until the target program has handled the keys."},
      {"KeyPressDelay", Int32, "0", &PS::KeyPressDelay,
       "Milliseconds to wait before each key; above 0 the keys are typed one by one."},
      {"UseOldSendKeys", Flag, "0", &PS::UseOldSendKeys, "1: type the keys one by one even without a delay."},
      {"DoEventsOnDelay", Flag, "0", &PS::DoEventsOnDelay,
       "1: keep the program's own windows responsive during each key delay."},
      {"ClipboardWin98DOS", Flag, "0", &PS::ClipboardWin98DOS,
       "1: deliver the text through the clipboard and a paste command, for console (DOS) windows."},
      {"LetUserFillDetails", Byte, "0", &PS::LetUserFillDetails,
       "A cheque read incompletely or failing verification: 0 discards it, 1 asks for the missing numbers, 2 shows the "
       "cheque image and asks for numbers, amount and date."},
      {"IgnoreVerify", ByteFlag, "0", &PS::IgnoreVerify,
       "1: skip the check of bank, branch and account against the bank/branch table."},
      {"TabChar", Byte, "32", &PS::TabChar,
       "Character code that moves to the next field in the cheque dialogs, as TAB does (32 is the space bar)."},
      {"DontPassPartialRead", Byte, "1", &PS::DontPassPartialRead,
       "1: do not type a cheque whose numbers hold unread characters; 0: type it anyway."},
      {"CSVFile", Text, "", &PS::CSVFile, "The cheque log: every cheque read adds a line. Empty: no log."},
      {"CSVRenTemplate", Text, "", &PS::CSVRenTemplate,
       "The log's new name when the tray menu's \"reset CSV file\" entry is chosen (date codes); empty disables the "
       "entry."},
      {"WhenActivateWindowFails", Flag, "1", &PS::WhenActivateWindowFails,
       "When the ActivateWindowTitle window is not found: 0 drops the text, 1 types into the window in front."},
      {"ChequeNumStart", Int32, "1", &PS::ChequeNumStart,
       "First character of the cheque number in the MICR line; negative counts from the end."},
      {"ChequeNumLength", Int32, "8", &PS::ChequeNumLength,
       "Characters of the cheque number; negative counts backwards from Start."},
      {"ChequeNumLeadingZeros", Int32, "1", &PS::ChequeNumLeadingZeros,
       "Leading zeros kept in the cheque number; -1 keeps the field as it is, -2 pads to Length."},
      {"ChequeNumFlip", Boolean, "FALSE", &PS::ChequeNumFlip, "TRUE: the cheque number's characters reversed."},
      {"ChequeBankNumStart", Int32, "1", &PS::ChequeBankNumStart, "First character of the bank number."},
      {"ChequeBankNumLength", Int32, "2", &PS::ChequeBankNumLength, "Characters of the bank number."},
      {"ChequeBankNumLeadingZeros", Int32, "1", &PS::ChequeBankNumLeadingZeros,
       "Leading zeros kept in the bank number."},
      {"ChequeBankNumFlip", Boolean, "FALSE", &PS::ChequeBankNumFlip, "TRUE: the bank number reversed."},
      {"ChequeBranchNumStart", Int32, "1", &PS::ChequeBranchNumStart, "First character of the branch number."},
      {"ChequeBranchNumLength", Int32, "5", &PS::ChequeBranchNumLength, "Characters of the branch number."},
      {"ChequeBranchNumLeadingZeros", Int32, "1", &PS::ChequeBranchNumLeadingZeros,
       "Leading zeros kept in the branch number."},
      {"ChequeBranchNumFlip", Boolean, "FALSE", &PS::ChequeBranchNumFlip, "TRUE: the branch number reversed."},
      {"ChequeBranchCodeStart", Int32, "1", &PS::ChequeBranchCodeStart, "First character of the branch code."},
      {"ChequeBranchCodeLength", Int32, "5", &PS::ChequeBranchCodeLength, "Characters of the branch code."},
      {"ChequeBranchCodeLeadingZeros", Int32, "1", &PS::ChequeBranchCodeLeadingZeros,
       "Leading zeros kept in the branch code."},
      {"ChequeBranchCodeFlip", Boolean, "FALSE", &PS::ChequeBranchCodeFlip, "TRUE: the branch code reversed."},
      {"ChequeAccountNumStart", Int32, "1", &PS::ChequeAccountNumStart, "First character of the account number."},
      {"ChequeAccountNumLength", Int32, "9", &PS::ChequeAccountNumLength, "Characters of the account number."},
      {"ChequeAccountNumLeadingZeros", Int32, "1", &PS::ChequeAccountNumLeadingZeros,
       "Leading zeros kept in the account number."},
      {"ChequeAccountNumFlip", Boolean, "FALSE", &PS::ChequeAccountNumFlip, "TRUE: the account number reversed."},
      {"TrimAccountByBank", Flag, "0", &PS::TrimAccountByBank,
       "1: cut the account number to the number of digits its bank uses."},
      {"CombineChequeImages", Flag, "0", &PS::CombineChequeImages,
       "1: join front and back into one image (front above back) with netpbm\\CombinePics.bat."},
      {"CreateXML", Flag, "0", &PS::CreateXML,
       "1: write an XML file with the cheque's details beside each cheque image."},
      {"ImageFileNameTemplate", Text, "", &PS::ImageFileNameTemplate,
       "File name of the cheque front image; empty saves none."},
      {"LimitedImageFileNameTemplate", Text, "", &PS::LimitedImageFileNameTemplate,
       "The same for cheques of restricted accounts."},
      {"BackImageFileNameTemplate", Text, "", &PS::BackImageFileNameTemplate, "File name of the cheque back image."},
      {"LimitedBackImageFileNameTemplate", Text, "", &PS::LimitedBackImageFileNameTemplate,
       "The same for restricted accounts."},
      {"GenUSTemplate", Text, "", &PS::GenUSTemplate, "Keys typed for a US cheque, whose line is typed whole."},
      {"GenUSFileNameTemplate", Text, "", &PS::GenUSFileNameTemplate, "Front image name of US cheques."},
      {"GenUSBackFileNameTemplate", Text, "", &PS::GenUSBackFileNameTemplate, "Back image name of US cheques."},
      {"UnidentifiedTemplate", Text, "", &PS::UnidentifiedTemplate,
       "Keys typed for a document that is not recognised or has no readable MICR line."},
      {"UnidentifiedFileNameTemplate", Text, "", &PS::UnidentifiedFileNameTemplate,
       "Front image name of such documents."},
      {"UnidentifiedBackFileNameTemplate", Text, "", &PS::UnidentifiedBackFileNameTemplate,
       "Back image name of such documents."},
      {"IDCardImagePath", Text, "", &PS::IDCardImagePath, "File name of ID card images."},
      {"ScanOverrideFileNameTemplate", Text, "", &PS::ScanOverrideFileNameTemplate,
       "When set, every image of every document is saved under this name alone."},
      {"ImageBeforeSendKeys", Flag, "0", &PS::ImageBeforeSendKeys, "1: save the images before typing the text."},
      {"MinUnreadCharsForNoMICR", Int32, "0", &PS::MinUnreadCharsForNoMICR,
       "A MICR line with this many unread characters or more among its first 34 counts as no MICR line; 0: never."},
      {"AccountListPath", Text, "", &PS::AccountListPath,
       "Folder of the restricted-account list files (ACC*.TXT), ending in a backslash; empty: none."},
      {"LimitedAccountURL", Text, "", &PS::LimitedAccountURL,
       "Address of the restricted-account web source; empty: none. When set, the program does not start unless it "
       "answers."},
      {"URLConnectionTimeout", Int32, "60", &PS::URLConnectionTimeout,
       "Time-out of one question to the web source, in seconds, for the whole of it: connecting, sending and the "
       "whole answer (below 1 counts as 1)."},
      {"SendChequeIfLimited", Boolean, "0", &PS::SendChequeIfLimited,
       "TRUE: type the cheque even when its account is restricted."},
      {"ChequeTemplate", Text, kDefaultChequeTemplate, &PS::ChequeTemplate, "The keys typed for a cheque."},
      {"EndorseFront", Text, "", &PS::EndorseFront,
       "Text printed on the cheque's front by readers with an endorsement printer (date codes); empty: none."},
      {"EndorseBack", Text, "", &PS::EndorseBack, "The same for the back."},
      {"MagStripe2Part1Start", Int32, "1", &PS::MagStripe2Part1Start,
       "First character of a track 2 card's part 1 (the text before \"=\")."},
      {"MagStripe2Part1Length", Int32, "16", &PS::MagStripe2Part1Length, "Characters of part 1 (99: all)."},
      {"MagStripe2Part1LeadingZeros", Int32, "1", &PS::MagStripe2Part1LeadingZeros, "Leading zeros kept in part 1."},
      {"MagStripe2Part1Flip", Boolean, "FALSE", &PS::MagStripe2Part1Flip, "TRUE: part 1 reversed."},
      {"MagStripe2Part2Start", Int32, "1", &PS::MagStripe2Part2Start,
       "First character of part 2 (the text after \"=\": expiry and service data)."},
      {"MagStripe2Part2Length", Int32, "4", &PS::MagStripe2Part2Length, "Characters of part 2 (99: all)."},
      {"MagStripe2Part2LeadingZeros", Int32, "1", &PS::MagStripe2Part2LeadingZeros, "Leading zeros kept in part 2."},
      {"MagStripe2Part2Flip", Boolean, "FALSE", &PS::MagStripe2Part2Flip, "TRUE: part 2 reversed."},
      {"MagStripe2Template", Text, kDefaultMagStripe2Template, &PS::MagStripe2Template,
       "Keys typed for a track 2 card."},
      {"MagStripe1Template", Text, kDefaultMagStripe1Template, &PS::MagStripe1Template,
       "Keys typed for a track 1 card."},
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

// The names of the profile keys, in the table's order.
inline constexpr auto kProfileKeyNames = [] {
  std::array<std::string_view, kProfileKeys.size()> names{};
  for (size_t i = 0; i < kProfileKeys.size(); ++i) {
    names[i] = kProfileKeys[i].key;
  }
  return names;
}();

// Converts the text read for the key and stores it in its field; returns whether the text converted.
// A text that does not convert leaves the field as it was (IconFontSize takes 1 instead).
bool StoreProfileValue(const ProfileKey& key, std::string_view text, ProfileSettings& settings);

}  // namespace orvex
