#include "tagged_text.h"

#include <algorithm>
#include <charconv>

namespace orvex::virtual_reader {
namespace {

struct Entity {
  char character;
  std::string_view text;
};
// "&" first when escaping, last when unescaping, so no entity is read twice.
constexpr Entity kEntities[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}};

std::string Escape(std::string_view value) {
  std::string escaped;
  for (const char c : value) {
    const auto entity = std::ranges::find(kEntities, c, &Entity::character);
    if (entity == std::end(kEntities)) {
      escaped += c;
    } else {
      escaped += entity->text;
    }
  }
  return escaped;
}

std::string Unescape(std::string_view text) {
  std::string value;
  for (size_t i = 0; i < text.size();) {
    const auto entity =
        std::ranges::find_if(kEntities, [&](const Entity& e) { return text.substr(i).starts_with(e.text); });
    if (entity == std::end(kEntities)) {
      value += text[i++];
    } else {
      value += entity->character;
      i += entity->text.size();
    }
  }
  return value;
}

std::string OpeningTag(const TaggedValue& value) {
  return "<" + value.key + (value.index ? " Index=\"" + std::to_string(*value.index) + "\"" : "") + ">";
}

// Reads the format from the text, one piece at a time.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  TaggedText Sections() {
    TaggedText sections;
    while (SkipBlanks(), pos_ < text_.size()) {
      std::optional<TaggedSection> section = Section();
      if (!section) {
        break;
      }
      sections.push_back(std::move(*section));
    }
    return sections;
  }

 private:
  std::optional<TaggedSection> Section() {
    const std::optional<std::string> name = Tag();
    if (!name) {
      return std::nullopt;
    }
    TaggedSection section{.name = *name, .values = {}};
    const std::string closing = "</" + *name + ">";
    while (SkipBlanks(), !Take(closing)) {
      std::optional<TaggedValue> value = Value();
      if (!value) {
        return std::nullopt;
      }
      section.values.push_back(std::move(*value));
    }
    return section;
  }

  std::optional<TaggedValue> Value() {
    const std::optional<std::string> tag = Tag();
    if (!tag) {
      return std::nullopt;
    }
    TaggedValue value{.key = tag->substr(0, tag->find(' ')), .index = std::nullopt, .value = {}};
    constexpr std::string_view kIndexAttribute = " Index=\"";
    if (const size_t attribute = tag->find(kIndexAttribute); attribute != std::string::npos) {
      const char* first = tag->data() + attribute + kIndexAttribute.size();
      int32_t index = 0;
      if (std::from_chars(first, tag->data() + tag->size(), index).ec != std::errc()) {
        return std::nullopt;
      }
      value.index = index;
    }
    const std::string closing = "</" + value.key + ">";
    const size_t end = text_.find(closing, pos_);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    value.value = Unescape(text_.substr(pos_, end - pos_));
    pos_ = end + closing.size();
    return value;
  }

  // The inside of an opening tag.
  std::optional<std::string> Tag() {
    if (pos_ >= text_.size() || text_[pos_] != '<' || text_.substr(pos_).starts_with("</")) {
      return std::nullopt;
    }
    const size_t end = text_.find('>', pos_);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    std::string tag(text_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
    return tag;
  }

  bool Take(std::string_view piece) {
    if (!text_.substr(pos_).starts_with(piece)) {
      return false;
    }
    pos_ += piece.size();
    return true;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

TaggedText ParseTaggedText(std::string_view text) {
  return Parser(text).Sections();
}

std::string FormatTaggedText(const TaggedText& sections, std::string_view separator) {
  std::string text;
  for (const TaggedSection& section : sections) {
    text += "<" + section.name + ">";
    for (const TaggedValue& value : section.values) {
      text += OpeningTag(value) + Escape(value.value) + "</" + value.key + ">";
    }
    text += "</" + section.name + ">";
    text += separator;
  }
  return text;
}

void SetTaggedValue(TaggedText& sections, std::string_view section, std::string_view key, std::optional<int32_t> index,
                    std::string_view value) {
  auto found = std::ranges::find(sections, section, &TaggedSection::name);
  if (found == sections.end()) {
    sections.push_back(TaggedSection{.name = std::string(section), .values = {}});
    found = sections.end() - 1;
  }
  auto& values = found->values;
  const auto entry =
      std::ranges::find_if(values, [&](const TaggedValue& v) { return v.key == key && v.index == index; });
  if (entry == values.end()) {
    values.push_back(TaggedValue{.key = std::string(key), .index = index, .value = std::string(value)});
  } else {
    entry->value = value;
  }
}

std::optional<std::string> GetTaggedValue(const TaggedText& sections, std::string_view section, std::string_view key,
                                          std::optional<int32_t> index) {
  const auto found = std::ranges::find(sections, section, &TaggedSection::name);
  if (found == sections.end()) {
    return std::nullopt;
  }
  const auto entry =
      std::ranges::find_if(found->values, [&](const TaggedValue& v) { return v.key == key && v.index == index; });
  if (entry == found->values.end()) {
    return std::nullopt;
  }
  return entry->value;
}

}  // namespace orvex::virtual_reader
