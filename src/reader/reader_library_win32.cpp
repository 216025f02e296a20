#include "reader/reader_library_win32.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base/system_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "reader/abi_reader_library.h"
#include "reader/mtxmlmcr_abi.h"

namespace orvex {
namespace {

constexpr wchar_t kLibraryName[] = L"mtxmlmcr.dll";

// Ownership of a loaded module: freed exactly once, when the owner goes.
class UniqueModule {
 public:
  explicit UniqueModule(HMODULE module) : module_(module) {}
  ~UniqueModule() {
    if (module_) {
      FreeLibrary(module_);
    }
  }
  UniqueModule(UniqueModule&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  UniqueModule& operator=(UniqueModule&&) = delete;
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;

  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

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
  HMODULE module = LoadLibraryW(besideProgram.c_str());
  // The reason the program folder's library did not load is the one worth reporting.
  const DWORD besideProgramError = GetLastError();
  if (!module) {
    module = LoadLibraryW(kLibraryName);
  }
  if (!module) {
    WriteDebugLog("Cannot load the reader library " + FromWide(besideProgram) + ": " +
                  WindowsErrorText(besideProgramError));
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
