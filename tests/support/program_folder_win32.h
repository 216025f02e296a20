#pragma once

// OrvexExcella.exe in a program folder of its own, as installed, for the end-to-end tests and the
// measurements: the program and the bank/branch table copied from the build tree's top folder and,
// when asked, the build's virtual reader library with the image joiner. The reader's documents
// folder is then "virtual-reader" beside it, unless ORVEX_VIRTUAL_READER names another.

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/wide_win32.h"
#include "support/temp_folder.h"

namespace orvex::test_support {

enum class Reader { kNone, kVirtual };

class ProgramFolder {
 public:
  ProgramFolder(const std::filesystem::path& buildFolder, Reader reader) {
    namespace fs = std::filesystem;
    for (const char* name : {"OrvexExcella.exe", "banks_branches.txt"}) {
      fs::copy_file(buildFolder / name, folder_.Path() / name);
    }
    if (reader == Reader::kVirtual) {
      fs::copy_file(buildFolder / "mtxmlmcr.dll", folder_.Path() / "mtxmlmcr.dll");
      fs::copy(buildFolder / "netpbm", folder_.Path() / "netpbm", fs::copy_options::recursive);
    }
  }

  std::filesystem::path Path(std::string_view name) const { return folder_.Path() / name; }
  void Write(std::string_view name, std::string_view bytes) const {
    WriteFileBytes(FromWide(Path(name).wstring()), bytes);
  }
  // A document for the virtual reader's own inbox: staged beside it, then moved in at once, so
  // that the reader never takes one half-written.
  void Feed(std::string_view name, std::string_view document) const {
    Stage(name, document);
    Deliver(name);
  }
  void Stage(std::string_view name, std::string_view document) const {
    std::filesystem::create_directories(Path("virtual-reader\\staging"));
    std::filesystem::create_directories(Path("virtual-reader\\inbox"));
    Write("virtual-reader\\staging\\" + std::string(name), document);
  }
  void Deliver(std::string_view name) const {
    MoveFileW(Path("virtual-reader\\staging\\" + std::string(name)).c_str(),
              Path("virtual-reader\\inbox\\" + std::string(name)).c_str());
  }
  // Whether the reader has taken the document: it is in its done\ folder.
  bool Done(std::string_view name) const {
    return std::filesystem::exists(Path("virtual-reader\\done\\" + std::string(name)));
  }

  // Starts the program in its folder with the arguments; the process, empty when it does not start.
  UniqueHandle Start(const std::wstring& arguments) const {
    std::wstring line = L"\"" + Path("OrvexExcella.exe").wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(), &startup,
                        &info)) {
      return UniqueHandle();
    }
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
  }

 private:
  TempFolder folder_;
};

// The first top-level window of the class, of any process (0) or of the given one.
inline HWND FindWindowOf(const wchar_t* className, DWORD process = 0) {
  for (HWND window = FindWindowW(className, nullptr); window;
       window = FindWindowExW(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (process == 0 || owner == process) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace orvex::test_support
