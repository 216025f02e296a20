#pragma once

// The trace file: a copy of every trace line in a file of the configuration's choosing, in UTF-8,
// so that Hebrew survives whatever the system's code page. Its size is bounded: the line that
// would take it past the bound first turns it into "<name>.1" (replacing an older one).

#include <cstdint>
#include <string>

#include "base/trace.h"

namespace orvex {

inline constexpr uintmax_t kTraceFileSizeBound = 5 * 1024 * 1024;

// A sink that hands every line to `channel` first and then appends it to the file. A file that
// cannot be written costs no line on the channel, and says so there once.
TraceSink TraceFileSink(std::string path, TraceSink channel, uintmax_t sizeBound = kTraceFileSizeBound);

// Copies the trace to the file from now on; an empty path leaves the trace as it is.
void StartTraceFile(const std::string& path);

}  // namespace orvex
