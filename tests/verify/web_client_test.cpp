#include "verify/web_client.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

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

}  // namespace
}  // namespace orvex
