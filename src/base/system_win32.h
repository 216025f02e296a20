#pragma once

// Where the running program stands: the paths of loaded modules and the environment, as UTF-16.

#include <windows.h>

#include <string>

namespace orvex {

// The full path of a loaded module; nullptr names the program itself.
std::wstring ModulePath(HMODULE module);

// The variable's value; empty when it is not set.
std::wstring EnvironmentVariable(const wchar_t* name);

// "Resources: handles H, GDI G, USER U": the kernel handles and window-system objects the process
// holds, for the trace, so that a growth over a long day shows.
std::string ProcessResourcesText();

}  // namespace orvex
