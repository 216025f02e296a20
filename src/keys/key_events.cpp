#include "keys/key_events.h"

#include <array>

namespace orvex {
namespace {

class EventBuilder {
 public:
  explicit EventBuilder(const KeyLayout& layout) : layout_(layout) {}

  void Token(const KeyToken& token) {
    PressModifiers(token.modifiers, false);
    for (int32_t repetition = 0; repetition < token.repeatCount; ++repetition) {
      events_.push_back({KeyEventKind::kRepetitionStarts, 0, 0, false});
      if (token.keyCode) {
        Stroke(*token.keyCode, layout_.ScanCodeOf(*token.keyCode));
      } else {
        for (char32_t character : token.text) {
          Character(character, token.modifiers);
        }
      }
    }
    PressModifiers(token.modifiers, true);
  }

  std::vector<KeyEvent> Take() { return std::move(events_); }

 private:
  void Key(uint8_t virtualKey, uint16_t scanCode, bool up) {
    events_.push_back({KeyEventKind::kVirtualKey, virtualKey, scanCode, up});
  }

  void Stroke(uint8_t virtualKey, uint16_t scanCode) {
    Key(virtualKey, scanCode, false);
    Key(virtualKey, scanCode, true);
  }

  // SHIFT, CTRL and ALT, in that order, for those set in `which`.
  void PressModifiers(const Modifiers& which, bool up) {
    const std::array<std::pair<bool, uint8_t>, 3> modifiers = {
        {{which.shift, kVkShift}, {which.ctrl, kVkControl}, {which.alt, kVkAlt}}};
    for (const auto& [set, virtualKey] : modifiers) {
      if (set) {
        Key(virtualKey, layout_.ScanCodeOf(virtualKey), up);
      }
    }
  }

  void Character(char32_t character, const Modifiers& noted) {
    const std::optional<CharacterKey> key = layout_.KeyOf(character);
    if (!key) {
      Unicode(character);
      return;
    }
    const Modifiers extra = {key->needs.shift && !noted.shift, key->needs.ctrl && !noted.ctrl,
                             key->needs.alt && !noted.alt};
    PressModifiers(extra, false);
    Stroke(key->virtualKey, key->scanCode);
    PressModifiers(extra, true);
  }

  void Unicode(char32_t character) {
    for (char16_t unit : EncodeUtf16(std::u32string_view(&character, 1))) {
      events_.push_back({KeyEventKind::kUnicode, unit, 0, false});
      events_.push_back({KeyEventKind::kUnicode, unit, 0, true});
    }
  }

  const KeyLayout& layout_;
  std::vector<KeyEvent> events_;
};

}  // namespace

std::vector<KeyEvent> KeyEventsOf(const std::vector<KeyToken>& tokens, const KeyLayout& layout) {
  EventBuilder builder(layout);
  for (const KeyToken& token : tokens) {
    builder.Token(token);
  }
  return builder.Take();
}

}  // namespace orvex
