#include "base/trace.h"

#include <gtest/gtest.h>

#include <new>
#include <regex>
#include <stdexcept>

#include "base/error.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

TEST(Trace, LineIsStampBlankMessageCrLf) {
  EXPECT_EQ(FormatTraceLine("08/12/2026 10:00:00", "Device Status:OK"), "08/12/2026 10:00:00 Device Status:OK\r\n");
  EXPECT_EQ(FormatTraceLine("08/12/2026 10:00:00", ""), "08/12/2026 10:00:00 \r\n");
}

TEST(Trace, NulCharactersBecomeXInTheLineAndInTheCallersText) {
  test_support::TraceCapture capture;
  std::string message("A\0B\0", 4);
  WriteDebugLog(message);
  EXPECT_EQ(message, "AxBx");
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(capture.Messages()[0], "AxBx");
}

TEST(Trace, EmptyMessageStillWritesTheStamp) {
  test_support::TraceCapture capture;
  WriteDebugLog("");
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0], TraceTimeStamp() + " \r\n");
}

TEST(Trace, HandleErrorPrefixesTheText) {
  test_support::TraceCapture capture;
  HandleError("reader gone");
  EXPECT_TRUE(capture.Contains("Error: reader gone"));
}

TEST(Error, TraceTextAndSkippedSteps) {
  EXPECT_EQ(Error(53, "File not found").TraceText(), "Error #53 - File not found");
  int ran = 0;
  EXPECT_FALSE(RunSkippingError([&] {
    ++ran;
    throw Error(5, "Invalid procedure call or argument");
  }));
  EXPECT_TRUE(RunSkippingError([&] { ++ran; }));
  EXPECT_FALSE(RunSkippingError([&] { throw std::out_of_range("vector"); })) << "any exception is skipped";
  EXPECT_EQ(ran, 2);
}

TEST(Error, EveryExceptionHasAStableNumber) {
  EXPECT_EQ(AsError(Error(53, "File not found")).TraceText(), "Error #53 - File not found");
  EXPECT_EQ(AsError(std::bad_alloc()).TraceText(), "Error #7 - Out of memory");
  EXPECT_EQ(AsError(std::regex_error(std::regex_constants::error_brack)).Number(), 51);
  EXPECT_EQ(AsError(std::runtime_error("disk gone")).TraceText(), "Error #51 - disk gone");
}

}  // namespace
}  // namespace orvex
