// Writes a few trace lines and ends; the trace channel test reads them as a debugger.

#include <string>

#include "base/trace.h"

int main() {
  orvex::WriteDebugLog("Starting Orvex Excella ver. 1.0.0");
  std::string withNul("Got this DocInfo:A\0B", 20);
  orvex::WriteDebugLog(withNul);
  orvex::WriteDebugLog("שגיאה בקורא צ'קים");
  return 0;
}
