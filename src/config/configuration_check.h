#pragma once

// The configuration check of "/CHECKINI": the configuration file read as a start-up reads it, and
// every profile loaded once, without the reader, the splash or any window; its notes are the run's
// findings. The report is the notes, one a line, for the file beside the configuration.

#include <string>
#include <string_view>

#include "config/configuration_notes.h"

namespace orvex {

// The notes of the configuration file at `iniPath`. A file that does not exist gives one note: a
// start would write the sample configuration there.
ConfigurationNotes CheckConfiguration(const std::string& iniPath);

// The report's file: the configuration's path + ".check.txt".
std::string CheckReportPath(std::string_view iniPath);

// The report: a line per note, CR LF ended, in UTF-8; "no notes" when there is none.
std::string CheckReport(const ConfigurationNotes& notes);

// The exit status of the check: 0 when there are no notes, else 1.
int CheckExitStatus(const ConfigurationNotes& notes);

}  // namespace orvex
