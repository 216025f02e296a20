#include "config/ini_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/vb_convert.h"

namespace orvex {
namespace {

// The text of an INI file as its bytes, in the file's own encoding. Lines are parsed as the
// platform's profile functions parse them; untouched lines are written back byte for byte. Every
// position is a byte offset; a read looks only at the section lines and at the lines of its section.
class IniText {
 public:
  enum class LineKind { Blank, Section, Entry };

  struct Line {
    size_t begin = 0;       // first byte of the line
    size_t contentEnd = 0;  // end of the line without its line break
    size_t end = 0;         // end of the line with its line break
    LineKind kind = LineKind::Blank;
    bool comment = false;                   // an entry that starts with ";"
    std::string_view name;                  // section name, or key name, without surrounding blanks
    std::optional<std::string_view> value;  // after the first "=", without surrounding blanks
  };

  // The lines of one section, from the byte `first` up to the byte `end`; the keys before the first
  // section line form a section without a header and without a name.
  struct Span {
    std::optional<Line> header;
    size_t first = 0;
    size_t end = 0;
  };

  explicit IniText(std::string bytes) : bytes_(std::move(bytes)) {
    const IniEncoding encoding = IniEncodingOf(bytes_);
    utf8_ = encoding != IniEncoding::kWindows1255;
    bodyStart_ = encoding == IniEncoding::kUtf8WithMark ? kUtf8Bom.size() : 0;
  }
  IniText(const IniText&) = delete;
  IniText& operator=(const IniText&) = delete;

  const std::string& Bytes() const { return bytes_; }
  size_t BodyStart() const { return bodyStart_; }

  std::string Decode(std::string_view raw) const { return utf8_ ? std::string(raw) : Windows1255ToUtf8(raw); }
  std::string Encode(std::string_view text) const { return utf8_ ? std::string(text) : Utf8ToWindows1255(text); }

  // The line that starts at the byte `begin`.
  Line LineAt(size_t begin) const {
    const size_t contentEnd = std::min(bytes_.find_first_of("\r\n", begin), bytes_.size());
    size_t end = contentEnd;
    if (end < bytes_.size()) {
      end += bytes_.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    }
    return ParseLine(begin, contentEnd, end);
  }

  // Calls visit(line) for each line from the byte `from` up to the byte `to`.
  template <typename Visit>
  void ForEachLine(size_t from, size_t to, Visit visit) const {
    for (size_t pos = from; pos < to;) {
      const Line line = LineAt(pos);
      visit(line);
      pos = line.end;
    }
  }

  // The line break the file uses (CR LF for a file that has none yet), for lines the writer adds.
  std::string_view LineBreak() const {
    const size_t at = bytes_.find_first_of("\r\n", bodyStart_);
    if (at == std::string::npos) {
      return "\r\n";
    }
    return bytes_.compare(at, 2, "\r\n") == 0 ? "\r\n" : std::string_view(bytes_).substr(at, 1);
  }

  // The first section named `section` (in the file's encoding), if any.
  std::optional<Span> FindSection(std::string_view section) const {
    if (section.empty()) {
      const std::optional<Line> first = NextSectionLine(bodyStart_);
      return Span{std::nullopt, bodyStart_, first ? first->begin : bytes_.size()};
    }
    for (std::optional<Line> header = NextSectionLine(bodyStart_); header; header = NextSectionLine(header->end)) {
      if (EqualsIgnoringAsciiCase(header->name, section)) {
        const std::optional<Line> next = NextSectionLine(header->end);
        return Span{header, header->end, next ? next->begin : bytes_.size()};
      }
    }
    return std::nullopt;
  }

  // The first entry named `key` in the section, if any.
  std::optional<Line> FindEntry(const Span& span, std::string_view key) const {
    for (size_t pos = span.first; pos < span.end;) {
      const Line line = LineAt(pos);
      if (line.kind == LineKind::Entry && EqualsIgnoringAsciiCase(line.name, key)) {
        return line;
      }
      pos = line.end;
    }
    return std::nullopt;
  }

  // The first section line at or after the byte `from` (a line start). Only the "[" that stand
  // first on their lines are looked at, so the lines between sections are not parsed.
  std::optional<Line> NextSectionLine(size_t from) const {
    for (size_t bracket = bytes_.find('[', from); bracket != std::string::npos;
         bracket = bytes_.find('[', bracket + 1)) {
      size_t lineStart = bracket;
      while (lineStart > from && !IsLineBreak(bytes_[lineStart - 1]) && IsBlank(bytes_[lineStart - 1])) {
        --lineStart;
      }
      if (lineStart != from && !IsLineBreak(bytes_[lineStart - 1])) {
        continue;  // inside a line
      }
      if (const Line line = LineAt(lineStart); line.kind == LineKind::Section) {
        return line;
      }
    }
    return std::nullopt;
  }

  // Blanks as the profile functions see them: white space and the DOS end-of-file mark.
  static std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
      text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
      text.remove_suffix(1);
    }
    return text;
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }
  static bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

  Line ParseLine(size_t begin, size_t contentEnd, size_t end) const {
    Line line{begin, contentEnd, end, LineKind::Blank, false, {}, std::nullopt};
    const std::string_view text = Trim(std::string_view(bytes_).substr(begin, contentEnd - begin));
    if (text.empty()) {
      return line;
    }
    // "[name]" with anything after the last "]" is a section line.
    if (const size_t close = text.rfind(']'); text[0] == '[' && close != std::string_view::npos) {
      line.kind = LineKind::Section;
      line.name = Trim(text.substr(1, close - 1));
      return line;
    }
    line.kind = LineKind::Entry;
    line.comment = text[0] == ';';
    const size_t equals = text.find('=');
    line.name = Trim(text.substr(0, equals));  // a line without "=" names a key without a value
    if (equals != std::string_view::npos) {
      line.value = Trim(text.substr(equals + 1));
    }
    return line;
  }

  std::string bytes_;
  bool utf8_ = false;
  size_t bodyStart_ = 0;
};

// A value wholly enclosed in double or single quotes loses them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A text as the profile functions take it: a C string, ended by its first NUL (a value's line
// ends there, before its quotes are looked at).
std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The default as the profile functions return it: without trailing blanks and enclosing quotes,
// cut to 254 characters.
std::string EffectiveDefault(std::string_view defaultValue) {
  defaultValue = UpToNul(defaultValue);
  const size_t last = defaultValue.find_last_not_of(' ');
  const std::string_view trimmed = defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1);
  return std::string(Utf8Prefix(Unquote(trimmed), cInifile::kMaxValueLength));
}

// Names each followed by a NUL, cut as the platform cuts a list longer than its buffer: the
// result then ends inside the last name, which has no closing NUL.
std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() > cInifile::kNameListBufferLength - 1) {
    list.resize(cInifile::kNameListBufferLength - 2);
  }
  return list;
}

// Pieces between NULs, walking from the start; a piece without a closing NUL is not taken.
NumberedList SplitNameList(const std::string& list, bool keepEmpty) {
  NumberedList names;
  for (size_t pos = 0, nul; (nul = list.find('\0', pos)) != std::string::npos; pos = nul + 1) {
    if (keepEmpty || nul > pos) {
      names.Append(list.substr(pos, nul - pos));
    }
  }
  return names;
}

// An absent file reads like an empty one.
std::string ReadIniBytes(const std::string& path) {
  return ReadFileBytes(path).value_or(std::string());
}

// Replaces the bytes [firstByte, lastByte) with `replacement` (already encoded) and writes the file.
bool WriteSpliced(const std::string& path, const IniText& ini, size_t firstByte, size_t lastByte,
                  std::string_view replacement) {
  std::string bytes = ini.Bytes();
  bytes.replace(firstByte, lastByte - firstByte, replacement);
  return WriteFileBytes(path, bytes);
}

// The first entry named `key` in the first section named `section`, if any. Reads and writes of
// one key ignore blanks around the names asked for; the name lists do not.
std::optional<IniText::Line> FindKey(const IniText& ini, std::string_view section, std::string_view key) {
  const std::optional<IniText::Span> span = ini.FindSection(ini.Encode(IniText::Trim(section)));
  return span ? ini.FindEntry(*span, ini.Encode(IniText::Trim(key))) : std::nullopt;
}

// Whether the line is the last of the file and has no line break.
bool LacksLineBreak(const IniText::Line& line) {
  return line.end == line.contentEnd;
}

// A new key goes after the last line of its section that is not blank, on a line of its own.
bool InsertKey(const std::string& path, const IniText& ini, const IniText::Span& span, std::string_view keyLine) {
  std::optional<IniText::Line> after = span.header;
  ini.ForEachLine(span.first, span.end, [&](const IniText::Line& line) {
    if (line.kind != IniText::LineKind::Blank) {
      after = line;
    }
  });
  const size_t at = after ? after->end : ini.BodyStart();
  std::string addition = after && LacksLineBreak(*after) ? std::string(ini.LineBreak()) : std::string();
  addition.append(keyLine).append(ini.LineBreak());
  return WriteSpliced(path, ini, at, at, addition);
}

// A new section goes at the end of the file, after an empty line.
bool AppendSection(const std::string& path, const IniText& ini, std::string_view sectionName,
                   std::string_view keyLine) {
  const std::string& bytes = ini.Bytes();
  const std::string_view lineBreak = ini.LineBreak();
  std::string addition;
  if (bytes.size() > ini.BodyStart()) {
    const bool endsWithBreak = bytes.back() == '\r' || bytes.back() == '\n';
    addition.append(endsWithBreak ? "" : lineBreak).append(lineBreak);
  }
  addition.append("[").append(sectionName).append("]").append(lineBreak);
  addition.append(keyLine).append(lineBreak);
  return WriteSpliced(path, ini, bytes.size(), bytes.size(), addition);
}

bool WriteKey(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
  const IniText ini(ReadIniBytes(path));
  const std::string sectionName = ini.Encode(IniText::Trim(section));
  const std::string encodedValue = ini.Encode(value);
  const std::string keyLine = ini.Encode(IniText::Trim(key)) + "=" + encodedValue;
  const std::optional<IniText::Span> span = ini.FindSection(sectionName);
  if (!span) {
    return AppendSection(path, ini, sectionName, keyLine);
  }
  if (const std::optional<IniText::Line> entry = ini.FindEntry(*span, ini.Encode(IniText::Trim(key)))) {
    // The key keeps its spelling and its line break; only what follows the name changes.
    const auto nameEnd = static_cast<size_t>(entry->name.data() + entry->name.size() - ini.Bytes().data());
    return WriteSpliced(path, ini, nameEnd, entry->contentEnd, "=" + encodedValue);
  }
  return InsertKey(path, ini, *span, keyLine);
}

}  // namespace

IniEncoding IniEncodingOf(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) {
    return IniEncoding::kUtf8WithMark;
  }
  return IsUtf8WithMultiByteSequences(bytes) ? IniEncoding::kUtf8WithoutMark : IniEncoding::kWindows1255;
}

std::string cInifile::Value() const {
  const IniText ini(ReadIniBytes(path_));
  if (const std::optional<IniText::Line> entry = FindKey(ini, section_, key_); entry && entry->value) {
    return std::string(Utf8Prefix(ini.Decode(Unquote(UpToNul(*entry->value))), kMaxValueLength));
  }
  return EffectiveDefault(default_);
}

void cInifile::SetValue(std::string& sValue) {
  std::erase(sValue, '\0');
  lastReturnCode_ = WriteKey(path_, section_, key_, sValue) ? 1 : 0;
}

void cInifile::SetValue(std::string_view sValue) {
  std::string copy(sValue);
  SetValue(copy);
}

// Deleting what is not there succeeds, as it does with the platform's profile functions.
void cInifile::DeleteKey() {
  const IniText ini(ReadIniBytes(path_));
  const std::optional<IniText::Line> entry = FindKey(ini, section_, key_);
  lastReturnCode_ = !entry || WriteSpliced(path_, ini, entry->begin, entry->end, "") ? 1 : 0;
}

void cInifile::DeleteSection() {
  const IniText ini(ReadIniBytes(path_));
  const std::optional<IniText::Span> span = ini.FindSection(ini.Encode(section_));
  const bool nothingToDelete = !span || !span->header;
  lastReturnCode_ = nothingToDelete || WriteSpliced(path_, ini, span->header->begin, span->end, "") ? 1 : 0;
}

std::string cInifile::INISection() const {
  const IniText ini(ReadIniBytes(path_));
  std::vector<std::string> names;
  if (const std::optional<IniText::Span> span = ini.FindSection(ini.Encode(section_))) {
    ini.ForEachLine(span->first, span->end, [&](const IniText::Line& line) {
      if (line.kind == IniText::LineKind::Entry && line.value && !line.comment) {
        names.push_back(ini.Decode(line.name));
      }
    });
  }
  return NameList(names);
}

std::string cInifile::Sections() const {
  const IniText ini(ReadIniBytes(path_));
  std::vector<std::string> names;
  for (auto line = ini.NextSectionLine(ini.BodyStart()); line; line = ini.NextSectionLine(line->end)) {
    if (!line->name.empty()) {
      names.push_back(ini.Decode(line->name));
    }
  }
  return NameList(names);
}

NumberedList cInifile::EnumerateCurrentSection() const {
  return SplitNameList(INISection(), true);
}

NumberedList cInifile::EnumerateAllSections() const {
  return SplitNameList(Sections(), false);
}

int32_t cInifile::CLngDefault(std::string_view sString, int32_t lDefault) {
  return ToInt32(sString).value_or(lDefault);
}

}  // namespace orvex
