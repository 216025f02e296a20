#include "base/trace_file.h"

#include <filesystem>
#include <memory>

#include "base/file_io.h"

namespace orvex {
namespace {

// The older file: the path + ".1".
void RotateWhenFull(const std::string& path, size_t lineSize, uintmax_t sizeBound) {
  std::error_code error;
  const std::filesystem::path file = ToFsPath(path);
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size == 0 || size + lineSize <= sizeBound) {
    return;
  }
  const std::filesystem::path older = ToFsPath(path + ".1");
  std::filesystem::remove(older, error);
  std::filesystem::rename(file, older, error);
}

}  // namespace

TraceSink TraceFileSink(std::string path, TraceSink channel, uintmax_t sizeBound) {
  auto failureTold = std::make_shared<bool>(false);
  return [path = std::move(path), channel = std::move(channel), sizeBound, failureTold](std::string_view line) {
    channel(line);
    RotateWhenFull(path, line.size(), sizeBound);
    if (!AppendFileBytes(path, line) && !*failureTold) {
      *failureTold = true;
      channel(FormatTraceLine(TraceTimeStamp(),
                              "The trace file " + path + " cannot be written; the trace goes on without it"));
    }
  };
}

void StartTraceFile(const std::string& path) {
  if (path.empty()) {
    return;
  }
  TraceSink channel = SetTraceSink(nullptr);
  SetTraceSink(TraceFileSink(path, std::move(channel)));
}

}  // namespace orvex
