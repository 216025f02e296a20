#pragma once

// The operator's own keyboard state while a text is typed: Caps Lock on, or Shift, Ctrl or Alt
// still held, would change what the target receives. The typing engines make the keyboard
// neutral first and give the operator the state back afterwards.

#include <cstdint>
#include <vector>

#include "keys/key_events.h"

namespace orvex {

// The side-specific modifier keys, in the order they are lifted.
inline constexpr uint8_t kVkLeftShift = 0xA0;
inline constexpr uint8_t kVkRightShift = 0xA1;
inline constexpr uint8_t kVkLeftControl = 0xA2;
inline constexpr uint8_t kVkRightControl = 0xA3;
inline constexpr uint8_t kVkLeftAlt = 0xA4;
inline constexpr uint8_t kVkRightAlt = 0xA5;
inline constexpr uint8_t kModifierKeys[] = {kVkLeftShift,    kVkRightShift, kVkLeftControl,
                                            kVkRightControl, kVkLeftAlt,    kVkRightAlt};
inline constexpr uint8_t kVkCapsLock = 20;
// An unassigned key pressed before an Alt key is released, so that the release does not open the
// target's menu bar.
inline constexpr uint8_t kVkMenuMask = 0xE8;

struct OperatorKeys {
  bool capsLockOn = false;
  std::vector<uint8_t> held;  // of kModifierKeys, in their order
};

// Before typing: every held modifier released (the menu mask pressed once before the first Alt
// release), then Caps Lock switched off with a CAPSLOCK press. Nothing for a neutral keyboard.
std::vector<KeyEvent> NeutralKeyboardEvents(const OperatorKeys& before, const KeyLayout& layout);

// After typing: Caps Lock switched on again when it was on, then the modifiers released before
// that the operator still holds pressed again. Nothing for a neutral keyboard.
std::vector<KeyEvent> RestoredKeyboardEvents(const OperatorKeys& before, const std::vector<uint8_t>& stillHeld,
                                             const KeyLayout& layout);

}  // namespace orvex
