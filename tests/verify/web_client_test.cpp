#include "verify/web_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "base/error.h"
#include "support/fake_clock.h"

namespace orvex {
namespace {

using std::chrono::milliseconds;

TEST(DecodeWebBody, ReadsWindows1255UnlessTheServerAnnouncesUtf8) {
  const std::string hebrew1255 = "\xE7\xF9\xE1\xE5\xEF \xEE\xE5\xE2\xE1\xEC";  // "חשבון מוגבל"
  const std::string hebrewUtf8 = "חשבון מוגבל";
  const struct {
    std::string bytes;
    const char* contentType;
    std::string expected;
  } cases[] = {
      {hebrew1255, "text/html", hebrewUtf8},
      {hebrew1255, "text/html; charset=windows-1255", hebrewUtf8},
      {hebrewUtf8, "text/html; charset=utf-8", hebrewUtf8},
      {hebrewUtf8, "text/html;Charset=\"UTF-8\"", hebrewUtf8},
      {hebrewUtf8, "text/html; format=flowed; charset=utf8", hebrewUtf8},
      {"a\xFF"
       "b",
       "text/html; charset=UTF-8", "a\uFFFDb"},  // malformed UTF-8 does not travel on
      {"", "text/html", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeWebBody(c.bytes, c.contentType), c.expected) << c.contentType;
  }
}

TEST(CappedWebBody, KeepsAReplyOfUpTo1MbAndFailsAboveWithoutKeepingMore) {
  constexpr size_t kMegabyte = 1'048'576;
  const struct {
    std::vector<size_t> pieces;  // the sizes of the pieces as they arrive
    size_t kept;                 // the bytes the body holds when the pieces end or fail
    bool tooLarge;
  } cases[] = {
      {{}, 0, false},
      {{kMegabyte}, kMegabyte, false},
      {{kMegabyte - 1, 1}, kMegabyte, false},
      {{kMegabyte + 1}, 0, true},
      {{kMegabyte, 1}, kMegabyte, true},
      {std::vector<size_t>(1049, 1000), 1'048'000, true},  // the 1,049th thousand passes the limit
  };
  for (const auto& c : cases) {
    CappedWebBody body;
    bool failed = false;
    try {
      for (const size_t size : c.pieces) {
        body.Append(std::string(size, 'x'));
      }
    } catch (const Error& error) {
      failed = true;
      EXPECT_EQ(error.TraceText(), "Error #6 - The web server's reply is above 1 MB (1,048,576 bytes)");
    }
    EXPECT_EQ(failed, c.tooLarge) << c.pieces.size() << " pieces";
    EXPECT_EQ(body.Bytes().size(), c.kept) << c.pieces.size() << " pieces";
  }
}

TEST(RequestDeadline, CountsOneTimeOutFromTheRequestsStartAndNeverBelowZero) {
  const struct {
    milliseconds start;  // the monotonic time when the request starts
    milliseconds timeout;
    milliseconds elapsed;  // since the start
    milliseconds remaining;
  } cases[] = {
      {milliseconds(0), milliseconds(2000), milliseconds(0), milliseconds(2000)},
      {milliseconds(0), milliseconds(2000), milliseconds(1500), milliseconds(500)},
      {milliseconds(0), milliseconds(2000), milliseconds(2000), milliseconds(0)},
      {milliseconds(0), milliseconds(2000), milliseconds(60000), milliseconds(0)},
      {milliseconds(86'400'000), milliseconds(60000), milliseconds(59999), milliseconds(1)},
  };
  for (const auto& c : cases) {
    test_support::FakeClock clock;
    clock.monotonic = c.start;
    const RequestDeadline deadline(clock, c.timeout);
    clock.monotonic += c.elapsed;
    EXPECT_EQ(deadline.Remaining(), c.remaining) << c.start.count() << " + " << c.elapsed.count();
  }
}

}  // namespace
}  // namespace orvex
