#include "keys/key_tables_win32.h"

namespace orvex {
namespace {

constexpr SHORT kNoKey = -1;

std::optional<CharacterKey> CharKeyEntry(unsigned char code) {
  const SHORT keyScan = VkKeyScanA(static_cast<CHAR>(code));
  if (keyScan == kNoKey || LOBYTE(keyScan) == 0xFF) {
    return std::nullopt;
  }
  char oem = 0;
  const char ansi = static_cast<char>(code);
  CharToOemBuffA(&ansi, &oem, 1);
  CharacterKey key;
  key.virtualKey = LOBYTE(keyScan);
  key.scanCode = LOBYTE(LOWORD(OemKeyScan(static_cast<unsigned char>(oem))));
  key.needs.shift = (keyScan & 0x100) != 0;
  key.needs.ctrl = (keyScan & 0x200) != 0;
  key.needs.alt = (keyScan & 0x400) != 0;
  return key;
}

// The character's single-byte code in the ANSI code page, if it has one.
std::optional<unsigned char> AnsiCode(char32_t character) {
  if (character < 0x80) {
    return static_cast<unsigned char>(character);
  }
  if (character >= 0x10000) {
    return std::nullopt;
  }
  const wchar_t wide = static_cast<wchar_t>(character);
  char bytes[4] = {};
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr, &usedDefault);
  if (length != 1 || usedDefault) {
    return std::nullopt;
  }
  return static_cast<unsigned char>(bytes[0]);
}

}  // namespace

AnsiKeyTables::AnsiKeyTables() {
  for (unsigned code = 0; code < 256; ++code) {
    charKeyTable_[code] = CharKeyEntry(static_cast<unsigned char>(code));
    virtualKeyTable_[code] = static_cast<uint16_t>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC) & 0xFF);
  }
}

std::optional<CharacterKey> AnsiKeyTables::KeyOf(char32_t character) const {
  const std::optional<unsigned char> code = AnsiCode(character);
  return code ? charKeyTable_[*code] : std::nullopt;
}

INPUT MakeKeyInput(WORD key, WORD scan, DWORD flags, ULONG_PTR extra) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  input.ki.time = 0;
  input.ki.dwExtraInfo = extra;
  return input;
}

std::vector<INPUT> KeyInputsOf(const std::vector<KeyEvent>& events) {
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const KeyEvent& event : events) {
    const DWORD up = event.up ? KEYEVENTF_KEYUP : 0;
    if (event.kind == KeyEventKind::kVirtualKey) {
      inputs.push_back(MakeKeyInput(event.code, event.scanCode, up, 0));
    } else if (event.kind == KeyEventKind::kUnicode) {
      inputs.push_back(MakeKeyInput(0, event.code, KEYEVENTF_UNICODE | up, 0));
    }
  }
  return inputs;
}

std::vector<INPUT> KeyInputsOfText(std::string_view text, const KeyLayout& layout) {
  const ParsedKeyCodes parsed = ParseKeyCodes(text);
  ThrowIfMalformed(parsed);
  return KeyInputsOf(KeyEventsOf(parsed.tokens, layout));
}

bool SendInputBatch(std::vector<INPUT>& batch) {
  if (batch.empty()) {
    return true;
  }
  const UINT count = static_cast<UINT>(batch.size());
  return SendInput(count, batch.data(), sizeof(INPUT)) == count;
}

}  // namespace orvex
