#include <cstdio>
#include <ctime>

#include "base/trace.h"

namespace orvex {

std::string TraceTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  const size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

void WriteToPlatformTrace(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace orvex
