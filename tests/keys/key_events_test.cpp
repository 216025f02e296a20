#include "keys/key_events.h"

#include <gtest/gtest.h>

#include <map>

namespace orvex {
namespace {

// A US English layout for the characters the tests use; scan codes are the key code + 1000 so a
// test sees which table they came from.
class FakeUsLayout : public KeyLayout {
 public:
  FakeUsLayout() {
    for (char32_t c = U'a'; c <= U'z'; ++c) {
      keys_[c] = {static_cast<uint8_t>(c - U'a' + 'A'), 0, {}};
      keys_[c - U'a' + U'A'] = {static_cast<uint8_t>(c - U'a' + 'A'), 0, {true, false, false}};
    }
    for (char32_t c = U'0'; c <= U'9'; ++c) {
      keys_[c] = {static_cast<uint8_t>(c), 0, {}};
    }
    keys_[U'.'] = {190, 0, {}};
    keys_[U'!'] = {'1', 0, {true, false, false}};
    keys_[U'\u20AC'] = {'E', 0, {false, true, true}};  // the euro sign on AltGr (CTRL+ALT)
    for (auto& [character, key] : keys_) {
      key.scanCode = static_cast<uint16_t>(key.virtualKey + 1000);
    }
  }
  std::optional<CharacterKey> KeyOf(char32_t character) const override {
    const auto found = keys_.find(character);
    return found == keys_.end() ? std::nullopt : std::optional<CharacterKey>(found->second);
  }
  uint16_t ScanCodeOf(uint8_t virtualKey) const override { return static_cast<uint16_t>(virtualKey + 2000); }

 private:
  std::map<char32_t, CharacterKey> keys_;
};

KeyEvent Down(uint8_t virtualKey, uint16_t scan) {
  return {KeyEventKind::kVirtualKey, virtualKey, scan, false};
}
KeyEvent Up(uint8_t virtualKey, uint16_t scan) {
  return {KeyEventKind::kVirtualKey, virtualKey, scan, true};
}
// Named keys and modifiers take their scan code from the virtual-key table, characters from the character table.
KeyEvent NamedDown(uint8_t virtualKey) {
  return Down(virtualKey, virtualKey + 2000);
}
KeyEvent NamedUp(uint8_t virtualKey) {
  return Up(virtualKey, virtualKey + 2000);
}
KeyEvent CharDown(uint8_t virtualKey) {
  return Down(virtualKey, virtualKey + 1000);
}
KeyEvent CharUp(uint8_t virtualKey) {
  return Up(virtualKey, virtualKey + 1000);
}
KeyEvent UnicodeDown(char16_t unit) {
  return {KeyEventKind::kUnicode, unit, 0, false};
}
KeyEvent UnicodeUp(char16_t unit) {
  return {KeyEventKind::kUnicode, unit, 0, true};
}
const KeyEvent kRepetition{KeyEventKind::kRepetitionStarts, 0, 0, false};

struct EventsCase {
  const char* text;
  std::vector<KeyEvent> events;
};

TEST(KeyEvents, TokensBecomeKeyEventsInOrder) {
  const EventsCase cases[] = {
      {"", {}},
      {"a", {kRepetition, CharDown('A'), CharUp('A')}},
      // The character's own SHIFT is pressed unless SHIFT was noted for the token.
      {"A", {kRepetition, NamedDown(16), CharDown('A'), CharUp('A'), NamedUp(16)}},
      {"+A", {NamedDown(16), kRepetition, CharDown('A'), CharUp('A'), NamedUp(16)}},
      {"+a", {NamedDown(16), kRepetition, CharDown('A'), CharUp('A'), NamedUp(16)}},
      {"^a", {NamedDown(17), kRepetition, CharDown('A'), CharUp('A'), NamedUp(17)}},
      {"%{F4}", {NamedDown(18), kRepetition, NamedDown(115), NamedUp(115), NamedUp(18)}},
      {"%^+{TAB}",
       {NamedDown(16), NamedDown(17), NamedDown(18), kRepetition, NamedDown(9), NamedUp(9), NamedUp(16), NamedUp(17),
        NamedUp(18)}},
      {"{TAB 2}{ENTER}",
       {kRepetition, NamedDown(9), NamedUp(9), kRepetition, NamedDown(9), NamedUp(9), kRepetition, NamedDown(13),
        NamedUp(13)}},
      {"{NUMPADENTER}", {kRepetition, NamedDown(108), NamedUp(108)}},
      // A trailing prefix presses and releases its modifier and types nothing.
      {"+", {NamedDown(16), kRepetition, NamedUp(16)}},
      {"+{TAB 0}", {NamedDown(16), NamedUp(16)}},
      // The characters of a braced text share one repetition mark.
      {"{ab 2}",
       {kRepetition, CharDown('A'), CharUp('A'), CharDown('B'), CharUp('B'), kRepetition, CharDown('A'), CharUp('A'),
        CharDown('B'), CharUp('B')}},
      {"1.5",
       {kRepetition, CharDown('1'), CharUp('1'), kRepetition, CharDown(190), CharUp(190), kRepetition, CharDown('5'),
        CharUp('5')}},
      // AltGr characters: only the modifiers not already noted are added, released in order.
      {"\xE2\x82\xAC",
       {kRepetition, NamedDown(17), NamedDown(18), CharDown('E'), CharUp('E'), NamedUp(17), NamedUp(18)}},
      {"^\xE2\x82\xAC",
       {NamedDown(17), kRepetition, NamedDown(18), CharDown('E'), CharUp('E'), NamedUp(18), NamedUp(17)}},
      // A character without a key is one Unicode event pair: no key 255, no SHIFT+CTRL+ALT.
      {"\xD7\xA9", {kRepetition, UnicodeDown(u'\u05E9'), UnicodeUp(u'\u05E9')}},
      {"+\xD7\xA9", {NamedDown(16), kRepetition, UnicodeDown(u'\u05E9'), UnicodeUp(u'\u05E9'), NamedUp(16)}},
      {"\xF0\x9F\x98\x80",
       {kRepetition, UnicodeDown(0xD83D), UnicodeUp(0xD83D), UnicodeDown(0xDE00), UnicodeUp(0xDE00)}},
  };
  const FakeUsLayout layout;
  for (const EventsCase& c : cases) {
    EXPECT_EQ(KeyEventsOf(ParseKeyCodes(c.text).tokens, layout), c.events) << c.text;
  }
}

TEST(KeyEvents, UnreplacedTemplateCodeTypesItsLettersWithoutBraces) {
  const FakeUsLayout layout;
  std::u32string typed;
  for (const KeyEvent& event : KeyEventsOf(ParseKeyCodes("{ChequeNum}").tokens, layout)) {
    if (event.kind == KeyEventKind::kVirtualKey && !event.up && event.code != 16) {
      typed.push_back(event.code);
    }
  }
  EXPECT_EQ(typed, U"CHEQUENUM");
}

}  // namespace
}  // namespace orvex
