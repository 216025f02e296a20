#include "dialogs/masked_date_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvex {
namespace {

using namespace date_keys;

struct Key {
  int code;
  char32_t typed;  // the character the key types, 0 for none
  bool numLock;
  KeyModifiers modifiers;
};

// Keys by the names the table uses.
Key Named(const std::string& name) {
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    return {name[0], static_cast<char32_t>(name[0]), true, {}};
  }
  if (name.size() == 2 && name[0] == 'n') {  // keypad digit, NumLock on
    return {kKeypad0 + name[1] - '0', static_cast<char32_t>(name[1]), true, {}};
  }
  if (name.size() == 2 && name[0] == 'k') {  // keypad key, NumLock off
    return {kKeypad0 + name[1] - '0', 0, false, {}};
  }
  const struct {
    const char* name;
    Key key;
  } keys[] = {
      {"Left", {kLeft, 0, true, {}}},  {"Right", {kRight, 0, true, {}}},
      {"Home", {kHome, 0, true, {}}},  {"End", {kEnd, 0, true, {}}},
      {"Ins", {kInsert, 0, true, {}}}, {"Shift+Ins", {kInsert, 0, true, {.shift = true}}},
      {"Del", {kDelete, 0, true, {}}}, {"Back", {kBackspace, 0, true, {}}},
      {"a", {'A', U'a', true, {}}},
  };
  for (const auto& k : keys) {
    if (name == k.name) {
      return k.key;
    }
  }
  ADD_FAILURE() << "no key named " << name;
  return {};
}

// Presses and releases each key as the window passes them on, including the Left the box asks for.
MaskedDateBox AfterKeys(const std::string& keys) {
  MaskedDateBox box("06/03/26");
  std::istringstream names(keys);
  for (std::string name; names >> name;) {
    const Key key = Named(name);
    box.KeyDown(key.code, key.modifiers, key.numLock);
    if (key.typed) {
      box.Char(key.typed);
    }
    if (box.KeyUp(key.code, key.numLock)) {
      box.KeyDown(kLeft, {}, key.numLock);
      box.KeyUp(kLeft, key.numLock);
    }
  }
  return box;
}

TEST(MaskedDateBox, KeySequencesLeaveTheTextAndTheSelection) {
  const struct {
    const char* keys;
    const char* text;
    TextSelection selection;
    bool overwrite;
  } cases[] = {
      // Opens typing over its first character.
      {"", "06/03/26", {0, 1}, true},
      // Digits overwrite the selected character; the selection follows, over the "/".
      {"1", "16/03/26", {1, 1}, true},
      {"1 5", "15/03/26", {3, 1}, true},
      {"1 5 0 4 2 7", "15/04/27", {8, 0}, true},
      {"n7", "76/03/26", {1, 1}, true},
      {"a", "06/03/26", {0, 1}, true},
      // The caret keys move the one-character selection, stepping over the "/".
      {"Right", "06/03/26", {1, 1}, true},
      {"Right Right", "06/03/26", {3, 1}, true},
      {"Right Right Right Right Right", "06/03/26", {7, 1}, true},
      {"Right Right Right Right Right Right", "06/03/26", {7, 1}, true},
      {"Right Right Left", "06/03/26", {1, 1}, true},
      {"Left", "06/03/26", {0, 1}, true},
      {"1 5 Home", "15/03/26", {0, 1}, true},
      {"Right Right 9", "06/93/26", {4, 1}, true},
      {"End", "06/03/26", {8, 0}, true},
      // The keypad's caret keys while NumLock is off.
      {"k6 k6 k4", "06/03/26", {1, 1}, true},
      {"1 5 k7", "15/03/26", {0, 1}, true},
      // Insert: digits push the rest on, and the key-release rules are off until Insert again.
      {"Ins 1", "10/60/32", {1, 0}, false},
      {"Ins 1 5", "15/06/03", {3, 0}, false},
      {"Ins Home", "06/03/26", {0, 0}, false},
      {"Ins Ins Home", "06/03/26", {0, 1}, true},
      {"Shift+Ins", "06/03/26", {0, 1}, true},
      // Delete and Backspace leave the prompt character.
      {"Del", "_6/03/26", {0, 0}, true},
      {"Right Right Del 4", "06/43/26", {4, 1}, true},
      {"1 Back", "_6/03/26", {0, 0}, true},
  };
  for (const auto& c : cases) {
    const MaskedDateBox box = AfterKeys(c.keys);
    EXPECT_EQ(box.Text(), c.text) << c.keys;
    EXPECT_EQ(box.Selection(), c.selection) << c.keys;
    EXPECT_EQ(box.OverwriteMode(), c.overwrite) << c.keys;
  }
}

TEST(MaskedDateBox, GainingTheFocusSelectsOneCharacterAtTheCaret) {
  MaskedDateBox box("06/03/26");
  box.Select({4, 0});
  box.FocusGained();
  EXPECT_EQ(box.Selection(), (TextSelection{4, 1}));
}

}  // namespace
}  // namespace orvex
