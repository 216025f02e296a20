#include "interpret/cheque_xml.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(ChequeXmlFileName, ReplacesTheImageExtension) {
  const struct {
    const char* front;
    const char* xml;
  } cases[] = {
      {"0326\\1234_5.jpg", "0326\\1234_5.xml"}, {"a.jpg.jpg", "a.jpg.xml"},
      {"0326\\1234.JPG", "0326\\1234.xml"},  // ".jpg" is matched exactly
      {"0326\\1234.png", "0326\\1234.xml"},     {"0326\\1234", "0326\\1234.xml"},
      {"a.b\\1234", "a.b\\1234.xml"},           {"a.b/1234", "a.b/1234.xml"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChequeXmlFileName(c.front), c.xml) << c.front;
  }
}

TEST(ChequeXmlText, WritesSixLinesAndKeepsTheFileWellFormed) {
  EXPECT_EQ(ChequeXmlText({"1&2", "<3>", "", "4"}),
            "<Check>\r\n    <Number>1&amp;2</Number>\r\n    <Bank>&lt;3&gt;</Bank>\r\n    <Branch></Branch>\r\n"
            "    <Account>4</Account>\r\n</Check>\r\n");
}

}  // namespace
}  // namespace orvex
