#include "base/system_win32.h"

namespace orvex {

std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // the path was cut: ask again with more room
  }
}

std::wstring EnvironmentVariable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

std::string ProcessResourcesText() {
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return "Resources: handles " + std::to_string(handles) + ", GDI " +
         std::to_string(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) + ", USER " +
         std::to_string(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace orvex
