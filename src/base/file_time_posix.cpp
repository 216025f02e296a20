#include <sys/stat.h>

#include <ctime>

#include "base/file_io.h"
#include "base/file_time.h"

namespace orvex {

std::optional<LocalDateTime> FileModifiedTime(std::string_view utf8Path) {
  struct stat status {};
  if (stat(ToFsPath(utf8Path).c_str(), &status) != 0) {
    return std::nullopt;
  }
  std::tm local{};
  if (localtime_r(&status.st_mtime, &local) == nullptr) {
    return std::nullopt;
  }
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace orvex
