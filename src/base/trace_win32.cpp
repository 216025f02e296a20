#include <windows.h>

#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

// One of GetDateFormatEx / GetTimeFormatEx with the user's default format of the given kind.
template <typename Formatter>
std::wstring FormatNow(Formatter format, DWORD flags) {
  wchar_t text[128];
  const int length = format(LOCALE_NAME_USER_DEFAULT, flags, nullptr, nullptr, text, 128);
  return length > 0 ? std::wstring(text, length - 1) : std::wstring();
}

}  // namespace

std::string TraceTimeStamp() {
  const std::wstring date =
      FormatNow([](LPCWSTR locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out,
                   int size) { return GetDateFormatEx(locale, flags, time, format, out, size, nullptr); },
                DATE_SHORTDATE);
  const std::wstring time = FormatNow(GetTimeFormatEx, 0);
  return FromWide(date) + " " + FromWide(time);
}

void WriteToPlatformTrace(std::string_view line) {
  OutputDebugStringW(ToWide(line).c_str());
}

}  // namespace orvex
