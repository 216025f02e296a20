#pragma once

// Configuration notes: what the configuration file holds that a person setting the program up
// would want to know, because the program reads past it silently: a key it does not know, a value
// that does not convert, a default profile or a bank profile that is never chosen, a file saved as
// UTF-8 without its mark. Each note is a trace line, given once per run. None changes what the
// program does with the values.

#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/numbered_list.h"
#include "config/ini_file.h"

namespace orvex {

// Starts the trace line of every note.
inline constexpr std::string_view kConfigurationNotePrefix = "Configuration note: ";

class ConfigurationNotes {
 public:
  // Keeps the note and writes its trace line, unless the run has given it already.
  void Add(std::string note);
  // Whether the section's keys are still to be looked at in this run; from now on they are not.
  bool FirstLookAt(std::string_view section);
  const std::vector<std::string>& All() const { return notes_; }
  // Called after each new note.
  void SetOnNote(std::function<void()> onNote) { onNote_ = std::move(onNote); }

 private:
  std::vector<std::string> notes_;
  std::set<std::string, std::less<>> sectionsLookedAt_;
  std::function<void()> onNote_;
};

// The known key nearest to `key`, letter case aside, when the two are near enough to be a slip of
// the keyboard: one edit (a letter added, left out, changed, or two neighbours swapped) for a short
// name, two for a longer one. The first of equally near keys wins.
std::optional<std::string_view> NearestKey(std::string_view key, std::span<const std::string_view> known);

// Once per section: a note for each key of the INI object's current section that is not among
// `known` (letter case aside, as the file's keys are matched).
void NoteUnknownKeysOnce(const cInifile& ini, std::span<const std::string_view> known, ConfigurationNotes& notes);

// A note when the file's bytes are UTF-8 without the byte-order mark.
void NoteEncoding(std::string_view fileBytes, ConfigurationNotes& notes);

// A note when DefaultProfileName is not empty and names none of the profiles.
void NoteDefaultProfileName(std::string_view defaultProfileName, const NumberedList& profileNames,
                            ConfigurationNotes& notes);

// A note for each profile named like a bank's profile that no cheque chooses. A cheque's profile is
// found by its exact name "Bank" + the bank number as the cheque line gives it, two characters
// (digits, or "?" for one unread), so "bank11", "Bank011" and "Bank 11" are never chosen.
void NoteBankProfileNames(const NumberedList& profileNames, ConfigurationNotes& notes);

}  // namespace orvex
