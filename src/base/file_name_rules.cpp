#include "base/file_name_rules.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"

namespace orvex {
namespace {

// Windows takes a component for a device by its base (the text before the first dot), blanks at
// the base's end not counted: "con", "Con .jpg" and "LPT1.tar.gz" all name a device.
bool IsDeviceName(std::string_view component) {
  std::string base = AsciiUpper(component.substr(0, component.find('.')));
  base.erase(base.find_last_not_of(' ') + 1);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") {
    return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

std::string PlainComponent(std::string_view component) {
  std::string plain(component);
  if (component == "." || component == "..") {
    return plain;
  }
  if (IsDeviceName(component)) {
    plain.insert(std::min(plain.find('.'), plain.size()), "_");
  }
  if (!plain.empty() && (plain.back() == '.' || plain.back() == ' ')) {
    plain += '_';
  }
  return plain;
}

size_t Utf16Units(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())).size();
}

}  // namespace

bool IsForbiddenInFileName(char c) {
  return static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

bool IsFolderSeparator(char c) {
  return c == '\\' || c == '/';
}

std::string WithEachComponent(std::string_view name, const std::function<std::string(std::string_view)>& mend) {
  std::string result;
  result.reserve(name.size());
  size_t start = 0;
  for (size_t end = 0; end <= name.size(); ++end) {
    if (end == name.size() || IsFolderSeparator(name[end])) {
      result += mend(name.substr(start, end - start));
      if (end < name.size()) {
        result += name[end];
      }
      start = end + 1;
    }
  }
  return result;
}

std::string PlainFileName(std::string_view name) {
  return WithEachComponent(name, PlainComponent);
}

bool FitsWindowsNameLimits(std::string_view name) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(ToFsPath(name), error).lexically_normal();
  if (error || Utf16Units(full) > kMaxPathUnits) {
    return false;
  }
  return std::all_of(full.begin(), full.end(),
                     [](const std::filesystem::path& part) { return Utf16Units(part) <= kMaxNameComponentUnits; });
}

}  // namespace orvex
