#pragma once

// The date box of the full cheque dialog: a masked edit of our own with the mask "##/##/##" and the
// prompt character "_". Digits go only into "#" positions and step over the literal "/"; typing
// overwrites or inserts (Insert toggles); the caret keys move a selection of one character. The
// window only passes key events in and shows Text() and Selection() afterwards.
//
// Key codes are the platform's virtual-key codes.

#include <cstddef>
#include <string>
#include <string_view>

#include "dialogs/cheque_entry.h"

namespace orvex {

namespace date_keys {
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kRight = 39;
inline constexpr int kEnd = 35;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kBackspace = 8;
inline constexpr int kDigit0 = 48;
inline constexpr int kDigit9 = 57;
inline constexpr int kKeypad0 = 96;
inline constexpr int kKeypad4 = 100;
inline constexpr int kKeypad6 = 102;
inline constexpr int kKeypad7 = 103;
inline constexpr int kKeypad9 = 105;
}  // namespace date_keys

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

class MaskedDateBox {
 public:
  static constexpr std::string_view kMask = "##/##/##";
  static constexpr char kPrompt = '_';
  static constexpr size_t kLength = kMask.size();

  // Opens on the given text (the day's date), typing over its first character.
  explicit MaskedDateBox(std::string_view text);

  const std::string& Text() const { return text_; }
  TextSelection Selection() const { return selection_; }
  bool OverwriteMode() const { return overwriteMode_; }

  // The operator's mouse placed the caret or a selection.
  void Select(TextSelection selection);
  void FocusGained();

  // A key went down: Insert toggles the typing mode; the caret keys, Delete and Backspace act on
  // the text. Returns whether the key was one of these (the window then lets nothing else see it).
  bool KeyDown(int key, KeyModifiers modifiers, bool numLock);
  // A typed character: a digit lands in the next "#" position; anything else is refused.
  void Char(char32_t character);
  // A key came up: the selection of one character follows the caret. Returns true when the box
  // needs a Left key pressed and released next (the step back after Right).
  bool KeyUp(int key, bool numLock);

 private:
  size_t Caret() const { return selection_.start + selection_.length; }
  void PlaceCaret(size_t caret);
  void SelectOneAt(size_t position);
  void ClearSelected();
  void TypeDigit(char digit);

  std::string text_;
  TextSelection selection_{0, 1};
  bool overwriteMode_ = true;
  bool leftPending_ = false;
};

}  // namespace orvex
