#pragma once

// UTF-8 <-> UTF-16 at the boundary of the W functions (wchar_t is 16 bits on Windows).

#include <string>
#include <string_view>

#include "base/text_codec.h"

namespace orvex {

inline std::wstring ToWide(std::string_view text) {
  const std::u16string utf16 = Utf8ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

inline std::string FromWide(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace orvex
