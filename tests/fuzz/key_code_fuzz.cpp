// libFuzzer target: any text through the key-code language and its plain-text (clipboard) form,
// huge repeat counts included; and any bytes as a value: written literally, a value reads back as
// itself and, when it is valid UTF-8, pastes as itself.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/text_codec.h"
#include "keys/key_code.h"
#include "keys/plain_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  orvex::ParseKeyCodes(text);
  try {
    orvex::KeysToPlainText(text);
  } catch (const orvex::Error&) {
    // An empty pair of braces or a repeat count beyond the bound: the language's own failures.
  }

  const std::string literal = orvex::KeyCodeLiteral(text);
  if (orvex::ReadableKeyCodes(literal) != text) {
    std::abort();
  }
  const bool validUtf8 = orvex::Utf16ToUtf8(orvex::Utf8ToUtf16(text)) == text;
  if (validUtf8 && orvex::KeysToPlainText(literal) != text) {
    std::abort();
  }
  return 0;
}
