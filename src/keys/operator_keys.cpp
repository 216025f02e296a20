#include "keys/operator_keys.h"

#include <algorithm>

namespace orvex {
namespace {

bool IsAltKey(uint8_t virtualKey) {
  return virtualKey == kVkLeftAlt || virtualKey == kVkRightAlt;
}

KeyEvent KeyOf(uint8_t virtualKey, bool up, const KeyLayout& layout) {
  return {KeyEventKind::kVirtualKey, virtualKey, layout.ScanCodeOf(virtualKey), up};
}

void Press(uint8_t virtualKey, const KeyLayout& layout, std::vector<KeyEvent>& events) {
  events.push_back(KeyOf(virtualKey, false, layout));
  events.push_back(KeyOf(virtualKey, true, layout));
}

}  // namespace

std::vector<KeyEvent> NeutralKeyboardEvents(const OperatorKeys& before, const KeyLayout& layout) {
  std::vector<KeyEvent> events;
  bool menuMasked = false;
  for (uint8_t key : before.held) {
    if (IsAltKey(key) && !menuMasked) {
      Press(kVkMenuMask, layout, events);
      menuMasked = true;
    }
    events.push_back(KeyOf(key, true, layout));
  }
  if (before.capsLockOn) {
    Press(kVkCapsLock, layout, events);
  }
  return events;
}

std::vector<KeyEvent> RestoredKeyboardEvents(const OperatorKeys& before, const std::vector<uint8_t>& stillHeld,
                                             const KeyLayout& layout) {
  std::vector<KeyEvent> events;
  if (before.capsLockOn) {
    Press(kVkCapsLock, layout, events);
  }
  for (uint8_t key : before.held) {
    if (std::ranges::find(stillHeld, key) != stillHeld.end()) {
      events.push_back(KeyOf(key, false, layout));
    }
  }
  return events;
}

}  // namespace orvex
