#pragma once

// Keeps the operator's Caps Lock and held modifiers out of what a typing engine types.

#include <windows.h>

#include <memory>
#include <vector>

#include "keys/operator_keys.h"

namespace orvex {

// Lives while one text is typed. Made, it reads the operator's keyboard (Caps Lock toggle, the
// modifier keys held) and, while a modifier is held, follows the operator's own keyboard through
// a low-level hook, where the system marks the engines' key events as injected. Its events go out
// before the text; when it ends, Caps Lock is switched on again when it was, and the modifiers it
// released are pressed again if the operator still holds them. With Caps Lock off and nothing
// held it adds no event at all.
class NeutralKeyboard {
 public:
  explicit NeutralKeyboard(const KeyLayout& layout);
  ~NeutralKeyboard();
  NeutralKeyboard(const NeutralKeyboard&) = delete;
  NeutralKeyboard& operator=(const NeutralKeyboard&) = delete;

  // The events that make the keyboard neutral, to be typed before the text.
  const std::vector<KeyEvent>& Events() const { return neutral_; }

  // The events that give the operator the keyboard back, for an engine that sends them itself
  // (they are then not sent again when this ends).
  std::vector<KeyEvent> TakeRestoringEvents();

 private:
  class OperatorKeyWatch;

  std::vector<uint8_t> StillHeld() const;

  const KeyLayout& layout_;
  OperatorKeys before_;
  std::vector<KeyEvent> neutral_;
  std::unique_ptr<OperatorKeyWatch> watch_;
  bool restored_ = false;
};

}  // namespace orvex
