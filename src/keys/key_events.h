#pragma once

// Turns parsed key-code tokens into the key events the typing engines send, in order.

#include <cstdint>
#include <optional>
#include <vector>

#include "keys/key_code.h"

namespace orvex {

// The key that types a character in the active keyboard layout, and the modifiers it needs.
struct CharacterKey {
  uint8_t virtualKey = 0;
  uint16_t scanCode = 0;
  Modifiers needs;
};

// The keyboard layout as the engines see it (tables built once per engine on Windows).
class KeyLayout {
 public:
  virtual ~KeyLayout() = default;
  // Empty when no key of the layout types the character.
  virtual std::optional<CharacterKey> KeyOf(char32_t character) const = 0;
  virtual uint16_t ScanCodeOf(uint8_t virtualKey) const = 0;
};

enum class KeyEventKind {
  kRepetitionStarts,  // marks where the keybd_event engine waits; sends nothing
  kVirtualKey,        // code = virtual-key code
  kUnicode,           // code = one UTF-16 unit, typed as a Unicode keyboard event
};

struct KeyEvent {
  KeyEventKind kind = KeyEventKind::kVirtualKey;
  uint16_t code = 0;
  uint16_t scanCode = 0;
  bool up = false;
  bool operator==(const KeyEvent&) const = default;
};

// The events of the tokens: the token's modifiers pressed (SHIFT, CTRL, ALT), then for every
// repetition a repetition mark and the key (down, up) or each character with the modifiers its
// key needs beyond the noted ones, then the noted modifiers released (SHIFT, CTRL, ALT).
// A character without a key in the layout is typed as a Unicode keyboard event (down, up).
std::vector<KeyEvent> KeyEventsOf(const std::vector<KeyToken>& tokens, const KeyLayout& layout);

}  // namespace orvex
