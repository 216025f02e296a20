#include "config/configuration_notes.h"

#include <algorithm>

#include "base/text.h"
#include "base/trace.h"

namespace orvex {
namespace {

// Edits from one name to the other, letter case aside: letters added, left out or changed, and
// neighbours swapped, each counting one.
size_t EditDistance(std::string_view first, std::string_view second) {
  const std::string a = AsciiUpper(first);
  const std::string b = AsciiUpper(second);
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) {
    d[i][0] = i;
  }
  for (size_t j = 0; j <= b.size(); ++j) {
    d[0][j] = j;
  }
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// A short name allows one slip, a longer one two.
size_t SlipsAllowed(std::string_view key) {
  return key.size() < 6 ? 1 : 2;
}

bool IsKnown(std::string_view key, std::span<const std::string_view> known) {
  return std::any_of(known.begin(), known.end(),
                     [&](std::string_view name) { return EqualsIgnoringAsciiCase(name, key); });
}

std::string UnknownKeyNote(std::string_view section, std::string_view key, std::optional<std::string_view> nearest) {
  std::string note = "[" + std::string(section) + "] " + std::string(key) + " is not a key the program knows";
  if (nearest) {
    note += "; perhaps " + std::string(*nearest);
  }
  return note;
}

constexpr std::string_view kBankProfilePrefix = "Bank";
constexpr size_t kBankNumberLength = 2;

// "bank" in any letter case, perhaps blanks, then digits alone: a name meant for a bank's cheques.
std::optional<std::string_view> BankDigitsOf(std::string_view name) {
  if (name.size() <= kBankProfilePrefix.size() ||
      !EqualsIgnoringAsciiCase(name.substr(0, kBankProfilePrefix.size()), kBankProfilePrefix)) {
    return std::nullopt;
  }
  std::string_view rest = name.substr(kBankProfilePrefix.size());
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  if (rest.empty() || !std::all_of(rest.begin(), rest.end(), IsAsciiDigit)) {
    return std::nullopt;
  }
  return rest;
}

bool IsChosenForCheques(std::string_view name) {
  return name.size() == kBankProfilePrefix.size() + kBankNumberLength && name.starts_with(kBankProfilePrefix) &&
         std::all_of(name.begin() + kBankProfilePrefix.size(), name.end(),
                     [](char c) { return IsAsciiDigit(c) || c == '?'; });
}

// The name a cheque of the same bank would choose, when the digits give a bank number of two.
std::optional<std::string> ChosenNameFor(std::string_view digits) {
  const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
  const std::string_view significant = digits.substr(first);
  if (significant.size() > kBankNumberLength) {
    return std::nullopt;
  }
  return std::string(kBankProfilePrefix) + std::string(kBankNumberLength - significant.size(), '0') +
         std::string(significant);
}

}  // namespace

void ConfigurationNotes::Add(std::string note) {
  if (std::find(notes_.begin(), notes_.end(), note) != notes_.end()) {
    return;
  }
  WriteDebugLog(std::string(kConfigurationNotePrefix) + note);
  notes_.push_back(std::move(note));
  if (onNote_) {
    onNote_();
  }
}

bool ConfigurationNotes::FirstLookAt(std::string_view section) {
  return sectionsLookedAt_.emplace(section).second;
}

std::optional<std::string_view> NearestKey(std::string_view key, std::span<const std::string_view> known) {
  std::optional<std::string_view> nearest;
  size_t nearestDistance = SlipsAllowed(key) + 1;
  for (const std::string_view name : known) {
    if (const size_t distance = EditDistance(key, name); distance < nearestDistance) {
      nearest = name;
      nearestDistance = distance;
    }
  }
  return nearest;
}

void NoteUnknownKeysOnce(const cInifile& ini, std::span<const std::string_view> known, ConfigurationNotes& notes) {
  if (!notes.FirstLookAt(ini.Section())) {
    return;
  }
  for (const std::string& key : ini.EnumerateCurrentSection()) {
    if (!IsKnown(key, known)) {
      notes.Add(UnknownKeyNote(ini.Section(), key, NearestKey(key, known)));
    }
  }
}

void NoteEncoding(std::string_view fileBytes, ConfigurationNotes& notes) {
  if (IniEncodingOf(fileBytes) == IniEncoding::kUtf8WithoutMark) {
    notes.Add("the file is saved as UTF-8 without a byte-order mark; it is read as UTF-8");
  }
}

void NoteDefaultProfileName(std::string_view defaultProfileName, const NumberedList& profileNames,
                            ConfigurationNotes& notes) {
  if (defaultProfileName.empty() || profileNames.NumberOf(std::string(defaultProfileName)) != 0) {
    return;
  }
  const std::string loaded = profileNames.Empty()
                                 ? "there is no profile, so the default settings are used"
                                 : "the first profile, [" + profileNames.At(1) + "], is loaded at start-up";
  notes.Add("[Config] DefaultProfileName=" + std::string(defaultProfileName) +
            " names no profile section (letter case counts); " + loaded);
}

void NoteBankProfileNames(const NumberedList& profileNames, ConfigurationNotes& notes) {
  for (const std::string& name : profileNames) {
    const std::optional<std::string_view> digits = BankDigitsOf(name);
    if (!digits || IsChosenForCheques(name)) {
      continue;
    }
    std::string note = "[" + name +
                       "] is never chosen for a cheque: a bank's profile is named \"Bank\" and the "
                       "bank's two digits, letter case as written";
    if (const std::optional<std::string> chosen = ChosenNameFor(*digits)) {
      note += ", as in [" + *chosen + "]";
    }
    notes.Add(std::move(note));
  }
}

}  // namespace orvex
