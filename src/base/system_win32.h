#pragma once

// Where the running program stands: the paths of loaded modules and the environment, as UTF-16.

#include <windows.h>

#include <string>

namespace orvex {

// The full path of a loaded module; nullptr names the program itself.
std::wstring ModulePath(HMODULE module);

// The variable's value; empty when it is not set.
std::wstring EnvironmentVariable(const wchar_t* name);

}  // namespace orvex
