#pragma once

#include <string>
#include <string_view>

namespace orvex {

// Inside the program all text is UTF-8; files are Windows-1255 and Win32 calls take UTF-16.

// Bytes that Windows-1255 leaves undefined become U+FFFD.
std::string Windows1255ToUtf8(std::string_view bytes);

// Characters that Windows-1255 lacks (and malformed UTF-8) become "?".
std::string Utf8ToWindows1255(std::string_view text);

// Malformed UTF-8 becomes U+FFFD; unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The first `count` characters (code points) of a UTF-8 text; the whole text when it is shorter.
std::string_view Utf8Prefix(std::string_view text, size_t count);

// The number of characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view text);

// Whether the bytes are well-formed UTF-8 with at least one character outside ASCII. Windows-1255
// Hebrew text almost never is: its letters are all lead bytes, and a letter never continues one.
bool IsUtf8WithMultiByteSequences(std::string_view bytes);

// The UTF-8 byte-order mark that marks a configuration file as UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace orvex
