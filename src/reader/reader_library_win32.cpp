#include "reader/reader_library_win32.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base/handle_win32.h"
#include "base/system_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "reader/abi_reader_library.h"
#include "reader/mtxmlmcr_abi.h"

namespace orvex {
namespace {

constexpr wchar_t kLibraryName[] = L"mtxmlmcr.dll";

// The library's calls together with the module that holds them.
class LoadedReaderLibrary : public AbiReaderLibrary {
 public:
  LoadedReaderLibrary(UniqueModule module, const MtxmlmcrFunctions& functions)
      : AbiReaderLibrary(functions), module_(std::move(module)) {}

 private:
  UniqueModule module_;
};

std::string WindowsErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  return "Windows error " + std::to_string(error) + (message.empty() ? "" : " - " + FromWide(message));
}

// Sets the function pointer from the module's export of that name; false when there is none.
template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

// The first call the module lacks, or nothing when it has all ten.
std::optional<std::string> ResolveAll(HMODULE module, MtxmlmcrFunctions& f) {
  const std::pair<const char*, bool> resolved[] = {
      {"MTMICRSetTimeout", Resolve(module, "MTMICRSetTimeout", f.setTimeout)},
      {"MTMICROpenDevice", Resolve(module, "MTMICROpenDevice", f.openDevice)},
      {"MTMICRCloseDevice", Resolve(module, "MTMICRCloseDevice", f.closeDevice)},
      {"MTMICRQueryInfo", Resolve(module, "MTMICRQueryInfo", f.queryInfo)},
      {"MTMICRSetValue", Resolve(module, "MTMICRSetValue", f.setValue)},
      {"MTMICRSetIndexValue", Resolve(module, "MTMICRSetIndexValue", f.setIndexValue)},
      {"MTMICRProcessCheck", Resolve(module, "MTMICRProcessCheck", f.processCheck)},
      {"MTMICRGetValue", Resolve(module, "MTMICRGetValue", f.getValue)},
      {"MTMICRGetIndexValue", Resolve(module, "MTMICRGetIndexValue", f.getIndexValue)},
      {"MTMICRGetImage", Resolve(module, "MTMICRGetImage", f.getImage)},
  };
  for (const auto& [name, found] : resolved) {
    if (!found) {
      return name;
    }
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(ModulePath(nullptr)).parent_path();
}

std::unique_ptr<ReaderLibrary> LoadReaderLibrary(const std::filesystem::path& folder) {
  const std::wstring besideProgram = (folder / kLibraryName).wstring();
  // By its full path only, and the libraries it needs from its own folder and the system's: never
  // a library of that name found anywhere else, such as the current directory.
  HMODULE module =
      LoadLibraryExW(besideProgram.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags (Windows 7 without its 2011 loader update).
    module = LoadLibraryExW(besideProgram.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  if (!module) {
    WriteDebugLog("Cannot load the reader library " + FromWide(besideProgram) + ": " +
                  WindowsErrorText(GetLastError()));
    return std::make_unique<UnavailableReaderLibrary>();
  }
  UniqueModule owner(module);
  MtxmlmcrFunctions functions;
  if (const std::optional<std::string> missing = ResolveAll(module, functions)) {
    WriteDebugLog("The reader library " + FromWide(ModulePath(module)) + " lacks the call " + *missing + ": " +
                  WindowsErrorText(ERROR_PROC_NOT_FOUND));
    return std::make_unique<UnavailableReaderLibrary>();
  }
  return std::make_unique<LoadedReaderLibrary>(std::move(owner), functions);
}

}  // namespace orvex
