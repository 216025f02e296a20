#include "base/trace_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/file_io.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

struct Channel {
  std::vector<std::string> lines;
  TraceSink Sink() {
    return [this](std::string_view line) { lines.emplace_back(line); };
  }
};

std::string Contents(const std::string& path) {
  return ReadFileBytes(path).value_or("<none>");
}

TEST(TraceFile, TheLineThatWouldPassTheBoundStartsANewFileAndKeepsOneOlder) {
  test_support::TempFolder folder;
  const std::string path = folder.File("trace.txt");
  Channel channel;
  const TraceSink sink = TraceFileSink(path, channel.Sink(), 40);
  const std::string lines[] = {"line one ...\r\n", "line two ...\r\n", "line three .\r\n",
                               "line four ..\r\n", "line five ..\r\n", "line six ...\r\n"};  // 14 bytes each
  const struct {
    std::string file;
    std::string older;
  } after[] = {
      {lines[0], "<none>"},
      {lines[0] + lines[1], "<none>"},
      {lines[2], lines[0] + lines[1]},  // 42 bytes would pass 40
      {lines[2] + lines[3], lines[0] + lines[1]},
      {lines[4], lines[2] + lines[3]},  // the oldest file is gone
      {lines[4] + lines[5], lines[2] + lines[3]},
  };
  for (size_t i = 0; i < std::size(lines); ++i) {
    sink(lines[i]);
    EXPECT_EQ(Contents(path), after[i].file) << "after line " << i + 1;
    EXPECT_EQ(Contents(path + ".1"), after[i].older) << "after line " << i + 1;
  }
  EXPECT_EQ(channel.lines, std::vector<std::string>(std::begin(lines), std::end(lines)));
}

TEST(TraceFile, AFileThatCannotBeWrittenLosesNoChannelLineAndIsToldOnce) {
  test_support::TempFolder folder;
  Channel channel;
  const TraceSink sink = TraceFileSink(folder.File("no such folder/trace.txt"), channel.Sink());
  sink("first\r\n");
  sink("second\r\n");
  ASSERT_EQ(channel.lines.size(), 3u);
  EXPECT_EQ(channel.lines[0], "first\r\n");
  EXPECT_NE(channel.lines[1].find("cannot be written; the trace goes on without it"), std::string::npos);
  EXPECT_EQ(channel.lines[2], "second\r\n");
}

}  // namespace
}  // namespace orvex
