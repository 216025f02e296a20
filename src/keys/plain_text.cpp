#include "keys/plain_text.h"

#include "keys/key_code.h"

namespace orvex {
namespace {

// What one repetition of a key name pastes.
std::u32string_view PastedTextOfKey(uint8_t keyCode) {
  switch (keyCode) {
    case kVkEnter:
    case kVkSeparator:
      return U"\r\n";
    case kVkTab:
      return U"\t";
    case kVkSpace:
      return U" ";
    case kVkBackspace:
      return U"\b";
    case kVkEscape:
      return U"\x1b";
    case kVkMultiply:
      return U"*";
    case kVkAdd:
      return U"+";
    case kVkDecimal:
      return U".";
    case kVkSubtract:
      return U"-";
    case kVkDivide:
      return U"/";
    default:
      return U"";
  }
}

}  // namespace

std::string SubstitutePeriods(std::string_view text, bool numLockOn) {
  const std::string_view decimalKey = numLockOn ? "{DECIMAL}" : "{NUMLOCK}{DECIMAL}{NUMLOCK}";
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '.') {
      result.append(decimalKey);
    } else {
      result.push_back(c);
    }
  }
  return result;
}

std::string KeysToPlainText(std::string_view text) {
  const ParsedKeyCodes parsed = ParseKeyCodes(text);
  ThrowIfMalformed(parsed);
  std::u32string plain;
  for (const KeyToken& token : parsed.tokens) {
    const std::u32string_view pasted = token.keyCode ? PastedTextOfKey(*token.keyCode) : token.text;
    for (int32_t repetition = 0; repetition < token.repeatCount; ++repetition) {
      plain.append(pasted);
    }
  }
  return EncodeUtf8(plain);
}

}  // namespace orvex
