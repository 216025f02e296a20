#include "keys/operator_keys.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

// Scan codes are the key code + 2000, so a test sees they come from the layout.
class FakeLayout : public KeyLayout {
 public:
  std::optional<CharacterKey> KeyOf(char32_t) const override { return std::nullopt; }
  uint16_t ScanCodeOf(uint8_t virtualKey) const override { return static_cast<uint16_t>(virtualKey + 2000); }
};

KeyEvent Down(uint8_t virtualKey) {
  return {KeyEventKind::kVirtualKey, virtualKey, static_cast<uint16_t>(virtualKey + 2000), false};
}
KeyEvent Up(uint8_t virtualKey) {
  return {KeyEventKind::kVirtualKey, virtualKey, static_cast<uint16_t>(virtualKey + 2000), true};
}

constexpr uint8_t kCaps = 0x14;
constexpr uint8_t kMask = 0xE8;
constexpr uint8_t kLShift = 0xA0;
constexpr uint8_t kRShift = 0xA1;
constexpr uint8_t kLCtrl = 0xA2;
constexpr uint8_t kLAlt = 0xA4;
constexpr uint8_t kRAlt = 0xA5;

TEST(OperatorKeys, TheKeyboardIsNeutralWhileTypingAndTheOperatorsStateComesBack) {
  const struct {
    const char* name;
    OperatorKeys before;
    std::vector<uint8_t> stillHeld;
    std::vector<KeyEvent> neutral;
    std::vector<KeyEvent> restored;
  } cases[] = {
      {"nothing on, nothing held: no event at all", {false, {}}, {}, {}, {}},
      {"Caps Lock switched off and on again", {true, {}}, {}, {Down(kCaps), Up(kCaps)}, {Down(kCaps), Up(kCaps)}},
      {"a Shift still held is pressed again", {false, {kLShift}}, {kLShift}, {Up(kLShift)}, {Down(kLShift)}},
      {"a Shift let go while typing stays up", {false, {kRShift}}, {}, {Up(kRShift)}, {}},
      {"the menu mask comes before the Alt release",
       {false, {kLCtrl, kLAlt}},
       {kLCtrl, kLAlt},
       {Up(kLCtrl), Down(kMask), Up(kMask), Up(kLAlt)},
       {Down(kLCtrl), Down(kLAlt)}},
      {"one menu mask for both Alt keys",
       {false, {kLAlt, kRAlt}},
       {kRAlt},
       {Down(kMask), Up(kMask), Up(kLAlt), Up(kRAlt)},
       {Down(kRAlt)}},
      {"Caps Lock after the modifiers, and back before them",
       {true, {kLShift, kLCtrl}},
       {kLCtrl, kLShift},
       {Up(kLShift), Up(kLCtrl), Down(kCaps), Up(kCaps)},
       {Down(kCaps), Up(kCaps), Down(kLShift), Down(kLCtrl)}},
      {"a key the operator pressed only while typing is not pressed again", {false, {}}, {kLShift}, {}, {}},
  };
  const FakeLayout layout;
  for (const auto& c : cases) {
    EXPECT_EQ(NeutralKeyboardEvents(c.before, layout), c.neutral) << c.name;
    EXPECT_EQ(RestoredKeyboardEvents(c.before, c.stillHeld, layout), c.restored) << c.name;
  }
}

}  // namespace
}  // namespace orvex
