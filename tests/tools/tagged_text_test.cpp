#include "tagged_text.h"

#include <gtest/gtest.h>

namespace orvex::virtual_reader {
namespace {

TEST(TaggedText, ValuesSetAreReadBackFromTheFormattedText) {
  struct Case {
    const char* section;
    const char* key;
    std::optional<int32_t> index;
    const char* value;
  };
  const Case cases[] = {
      {"ProcessOptions", "DocFeed", std::nullopt, "MANUAL"},
      {"ImageOptions", "ImageSide", 1, "FRONT"},
      {"ImageOptions", "ImageSide", 2, "BACK"},
      {"DocInfo", "MICRRaw", std::nullopt, "12345678<123<45<678901<"},  // markup characters in a value
      {"Endorser", "PrintData", std::nullopt, "A & B > C"},
      {"Endorser", "PrintFrontData", std::nullopt, ""},
  };
  TaggedText text;
  for (const Case& c : cases) {
    SetTaggedValue(text, c.section, c.key, c.index, c.value);
  }
  const TaggedText read = ParseTaggedText(FormatTaggedText(text, "\r\n"));
  for (const Case& c : cases) {
    EXPECT_EQ(GetTaggedValue(read, c.section, c.key, c.index), c.value) << c.section << "/" << c.key;
  }
}

TEST(TaggedText, SettingAValueAgainReplacesIt) {
  TaggedText text;
  SetTaggedValue(text, "ProcessOptions", "DocFeed", std::nullopt, "MANUAL");
  SetTaggedValue(text, "ProcessOptions", "DocFeed", std::nullopt, "MSR");
  EXPECT_EQ(FormatTaggedText(text), "<ProcessOptions><DocFeed>MSR</DocFeed></ProcessOptions>");
}

TEST(TaggedText, AnIndexedValueIsApartFromThePlainOne) {
  TaggedText text;
  SetTaggedValue(text, "ImageInfo", "ImageSize", 1, "1000");
  EXPECT_EQ(GetTaggedValue(text, "ImageInfo", "ImageSize"), std::nullopt);
  EXPECT_EQ(GetTaggedValue(text, "ImageInfo", "ImageSize", 2), std::nullopt);
  EXPECT_EQ(FormatTaggedText(text), "<ImageInfo><ImageSize Index=\"1\">1000</ImageSize></ImageInfo>");
}

TEST(TaggedText, MissingSectionsAndKeysAreNothing) {
  const TaggedText text = ParseTaggedText("<DocInfo><MICRRaw>1</MICRRaw></DocInfo>");
  EXPECT_EQ(GetTaggedValue(text, "MSRInfo", "MICRRaw"), std::nullopt);
  EXPECT_EQ(GetTaggedValue(text, "DocInfo", "MICR"), std::nullopt);
}

TEST(TaggedText, ParsingKeepsTheSectionsBeforeABrokenPiece) {
  const struct {
    const char* text;
    size_t sections;
  } cases[] = {
      {"", 0},
      {"<A><K>1</K></A><B><K>2</K>", 1},  // B never closes
      {"<A><K>1</K></A>garbage<B></B>", 1},
      {"<A><K>1</K></A><B><K Index=\"x\">2</K></B>", 1},
      {"<A><K>1</K></A>\r\n<B></B>\r\n", 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTaggedText(c.text).size(), c.sections) << c.text;
  }
}

}  // namespace
}  // namespace orvex::virtual_reader
