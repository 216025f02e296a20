#include <windows.h>

#include "base/file_time.h"
#include "base/wide_win32.h"

namespace orvex {

std::optional<LocalDateTime> FileModifiedTime(std::string_view utf8Path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(ToWide(utf8Path).c_str(), GetFileExInfoStandard, &attributes)) {
    return std::nullopt;
  }
  // The time zone rules of the file's own date, not today's daylight-saving offset.
  SYSTEMTIME universal{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&attributes.ftLastWriteTime, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    return std::nullopt;
  }
  return LocalDateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace orvex
