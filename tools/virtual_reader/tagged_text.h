#pragma once

// The virtual reader's option and reply format: sections of tagged values, as
//   <Section><Key>value</Key><Key Index="2">value</Key></Section>
// one section after another. "<", ">" and "&" in a value are written as entities.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::virtual_reader {

struct TaggedValue {
  std::string key;
  std::optional<int32_t> index;
  std::string value;
};

struct TaggedSection {
  std::string name;
  std::vector<TaggedValue> values;
};

using TaggedText = std::vector<TaggedSection>;

// The sections of a text; parsing stops at the first piece that does not follow the format.
TaggedText ParseTaggedText(std::string_view text);

// The text of the sections, each followed by the separator.
std::string FormatTaggedText(const TaggedText& sections, std::string_view separator = "");

// Sets the value of section/key (at the index, when there is one), adding the section or key when
// it is missing. Names match exactly.
void SetTaggedValue(TaggedText& sections, std::string_view section, std::string_view key, std::optional<int32_t> index,
                    std::string_view value);

// The value of section/key (at the index, when there is one), or nothing when it is missing.
std::optional<std::string> GetTaggedValue(const TaggedText& sections, std::string_view section, std::string_view key,
                                          std::optional<int32_t> index = std::nullopt);

}  // namespace orvex::virtual_reader
