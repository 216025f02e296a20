#include <windows.h>

#include "base/clock.h"

namespace orvex {

LocalDateTime SystemClock::Now() const {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace orvex
