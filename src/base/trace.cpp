#include "base/trace.h"

#include <algorithm>
#include <utility>

namespace orvex {
namespace {

TraceSink& CurrentSink() {
  static TraceSink sink = WriteToPlatformTrace;
  return sink;
}

}  // namespace

std::string FormatTraceLine(std::string_view timeStamp, std::string_view message) {
  std::string line;
  line.reserve(timeStamp.size() + message.size() + 3);
  line.append(timeStamp).append(" ").append(message).append("\r\n");
  return line;
}

void WriteDebugLog(std::string& message) {
  std::replace(message.begin(), message.end(), '\0', 'x');
  CurrentSink()(FormatTraceLine(TraceTimeStamp(), message));
}

void WriteDebugLog(std::string_view message) {
  std::string copy(message);
  WriteDebugLog(copy);
}

void HandleError(std::string_view text) {
  WriteDebugLog("Error: " + std::string(text));
}

TraceSink SetTraceSink(TraceSink sink) {
  return std::exchange(CurrentSink(), std::move(sink));
}

}  // namespace orvex
