#pragma once

// The portable rules of the SendInput and clipboard paths that turn a key-code text into
// something else before it is sent.

#include <string>
#include <string_view>

namespace orvex {

// The SendInput engine types every "." with the decimal key of the numeric keypad: "{DECIMAL}"
// when NumLock is on, "{NUMLOCK}{DECIMAL}{NUMLOCK}" (NumLock switched on for the key and back
// off) when it is off.
std::string SubstitutePeriods(std::string_view text, bool numLockOn);

// The plain text the clipboard path pastes for a key-code text: characters unchanged, ENTER and
// the keypad Enter as CR LF, TAB, SPACE, BACKSPACE, ESC and the keypad operators as their
// characters, every other key as nothing; the modifier prefixes have no effect.
// Throws Error on an empty pair of braces.
std::string KeysToPlainText(std::string_view text);

}  // namespace orvex
