#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "keys/key_events.h"

namespace orvex {

// The keyboard layout of the calling thread as it was when the tables were built: each typing
// engine builds its own on its first call and keeps it for the life of the process, so a layout
// change later is not seen by that engine.
class AnsiKeyTables : public KeyLayout {
 public:
  AnsiKeyTables();

  // A character is looked up by its code in the system's ANSI code page; a character the code
  // page lacks, or whose code no key of the layout types, has no key.
  std::optional<CharacterKey> KeyOf(char32_t character) const override;
  uint16_t ScanCodeOf(uint8_t virtualKey) const override { return virtualKeyTable_[virtualKey]; }

 private:
  // Indexed by ANSI character code; empty where the layout has no key for the character.
  std::array<std::optional<CharacterKey>, 256> charKeyTable_;
  // Indexed by virtual-key code: the key's scan code.
  std::array<uint16_t, 256> virtualKeyTable_;
};

// The platform's keyboard event record. For a Unicode event `key` is 0, `scan` the UTF-16 unit
// and `flags` include KEYEVENTF_UNICODE.
INPUT MakeKeyInput(WORD key, WORD scan, DWORD flags, ULONG_PTR extra);

// The records of the given events, in order (repetition marks send nothing).
std::vector<INPUT> KeyInputsOf(const std::vector<KeyEvent>& events);

// The records of a key-code text; Error when the text is malformed (nothing is then typed).
std::vector<INPUT> KeyInputsOfText(std::string_view text, const KeyLayout& layout);

// Hands the records to SendInput in one call; true when every one was accepted (an empty batch
// is not sent and gives true).
bool SendInputBatch(std::vector<INPUT>& batch);

}  // namespace orvex
