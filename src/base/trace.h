#pragma once

// The diagnostic trace: one line per event on the debugger output channel (the standard error
// stream in the native build), always on, no file.

#include <functional>
#include <string>
#include <string_view>

namespace orvex {

// Writes one trace line. NUL characters in the message are replaced by "x", in the caller's text too.
void WriteDebugLog(std::string& message);
void WriteDebugLog(std::string_view message);

// The trace line "Error: " + text.
void HandleError(std::string_view text);

// The line as it reaches the channel: time stamp, a blank, the message, CR LF.
std::string FormatTraceLine(std::string_view timeStamp, std::string_view message);

// Where finished lines go; tests capture them. Returns the previous sink.
using TraceSink = std::function<void(std::string_view line)>;
TraceSink SetTraceSink(TraceSink sink);

// Platform layer: the system's short date, a blank, the system's long time; and the channel itself.
std::string TraceTimeStamp();
void WriteToPlatformTrace(std::string_view line);

}  // namespace orvex
