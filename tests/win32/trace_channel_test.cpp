// The trace reaches a debugger: a child process writes trace lines while this test runs it under
// a debugger loop and reads every debug string it outputs.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <vector>

#include "base/handle_win32.h"
#include "base/text_codec.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

std::filesystem::path ProgramBeside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / name;
}

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  const size_t unit = info.fUnicode ? sizeof(wchar_t) : 1;
  std::string raw(info.nDebugStringLength * unit, '\0');
  SIZE_T read = 0;
  ReadProcessMemory(process, info.lpDebugStringData, raw.data(), raw.size(), &read);
  raw.resize(read);
  if (info.fUnicode) {
    std::wstring wide(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
    return FromWide(wide.substr(0, wide.find(L'\0')));
  }
  return Windows1255ToUtf8(raw.substr(0, raw.find('\0')));  // the test environment's ANSI code page
}

// Runs the program under a debugger loop and returns the debug strings it wrote.
std::vector<std::string> DebugStringsOf(const std::filesystem::path& program) {
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                      &startup, &info)) {
    ADD_FAILURE() << "cannot start " << program.string();
    return {};
  }
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  std::vector<std::string> strings;
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, 10000)) {
      ADD_FAILURE() << "the child sent no debug event for 10 seconds";
      TerminateProcess(process.Get(), 1);
      break;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:  // the debugger owns the image file handles it is given
        CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        CloseHandle(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        strings.push_back(ReadDebugString(process.Get(), event.u.DebugString));
        break;
      case EXCEPTION_DEBUG_EVENT:
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
      break;
    }
  }
  return strings;
}

TEST(TraceChannel, LinesReachADebuggerWithStampAndLineEnd) {
  const std::vector<std::string> strings = DebugStringsOf(ProgramBeside(L"trace_child.exe"));
  const std::string messages[] = {"Starting Orvex Excella ver. 1.0.0", "Got this DocInfo:AxB", "שגיאה בקורא צ'קים"};
  ASSERT_EQ(strings.size(), std::size(messages));
  // A date and a time, each of digits and separators, then the message and CR LF.
  const std::regex stamp(R"(^\S*\d\S* \d\S*( \S+)? )");
  for (size_t i = 0; i < strings.size(); ++i) {
    EXPECT_TRUE(std::regex_search(strings[i], stamp)) << strings[i];
    EXPECT_TRUE(strings[i].ends_with(" " + messages[i] + "\r\n")) << strings[i];
  }
}

}  // namespace
}  // namespace orvex
