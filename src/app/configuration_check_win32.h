#pragma once

// "/CHECKINI" on Windows: the check of the configuration file, its report beside the file and on
// the console of the program that started the check, when there is one.

#include <string>

namespace orvex {

// Checks the configuration file, writes the report to its check file and to the parent's console,
// and returns the process's exit status: 0 when there are no notes and the report was written,
// else 1.
int RunConfigurationCheck(const std::string& iniPath);

}  // namespace orvex
