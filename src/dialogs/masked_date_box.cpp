#include "dialogs/masked_date_box.h"

#include <algorithm>

namespace orvex {
namespace {

using namespace date_keys;

// The keypad keys name a digit while NumLock is on and act as caret keys while it is off.
bool IsDigitKey(int key, bool numLock) {
  return (key >= kDigit0 && key <= kDigit9) || (numLock && key >= kKeypad0 && key <= kKeypad9);
}
bool IsLeftKey(int key, bool numLock) {
  return key == kLeft || (!numLock && key == kKeypad4);
}
bool IsRightKey(int key, bool numLock) {
  return key == kRight || (!numLock && key == kKeypad6);
}
bool IsHomeKey(int key, bool numLock) {
  return key == kHome || (!numLock && key == kKeypad7);
}

bool IsDigitPosition(size_t position) {
  return position < MaskedDateBox::kLength && MaskedDateBox::kMask[position] == '#';
}

// The first "#" position at or after the given one; kLength when there is none.
size_t DigitPositionFrom(size_t position) {
  while (position < MaskedDateBox::kLength && !IsDigitPosition(position)) {
    ++position;
  }
  return position;
}

// The last "#" position before the given one; the given one when there is none.
size_t DigitPositionBefore(size_t position) {
  for (size_t at = position; at-- > 0;) {
    if (IsDigitPosition(at)) {
      return at;
    }
  }
  return position;
}

// The caret steps over a literal: it never stops right after one.
size_t CaretStepLeft(size_t caret) {
  if (caret > 0) {
    --caret;
  }
  if (caret > 0 && !IsDigitPosition(caret - 1)) {
    --caret;
  }
  return caret;
}

size_t CaretStepRight(size_t caret) {
  caret = std::min(caret + 1, MaskedDateBox::kLength);
  if (caret < MaskedDateBox::kLength && !IsDigitPosition(caret - 1)) {
    ++caret;
  }
  return caret;
}

std::string EmptyMask() {
  std::string text(MaskedDateBox::kMask);
  std::replace(text.begin(), text.end(), '#', MaskedDateBox::kPrompt);
  return text;
}

}  // namespace

MaskedDateBox::MaskedDateBox(std::string_view text) : text_(text.size() == kLength ? text : EmptyMask()) {}

void MaskedDateBox::Select(TextSelection selection) {
  selection_.start = std::min(selection.start, kLength);
  selection_.length = std::min(selection.length, kLength - selection_.start);
}

void MaskedDateBox::FocusGained() {
  selection_.length = selection_.start < kLength ? 1 : 0;
}

bool MaskedDateBox::KeyDown(int key, KeyModifiers modifiers, bool numLock) {
  if (key == kInsert) {
    if (!modifiers.shift && !modifiers.ctrl && !modifiers.alt) {
      overwriteMode_ = !overwriteMode_;
    }
  } else if (IsLeftKey(key, numLock)) {
    PlaceCaret(CaretStepLeft(Caret()));
  } else if (IsRightKey(key, numLock)) {
    PlaceCaret(CaretStepRight(Caret()));
  } else if (IsHomeKey(key, numLock)) {
    PlaceCaret(0);
  } else if (key == kEnd) {
    PlaceCaret(kLength);
  } else if (key == kDelete) {
    ClearSelected();
  } else if (key == kBackspace) {
    // The digit before the selection goes, as the one typed last.
    const size_t before = DigitPositionBefore(selection_.start);
    selection_ = {before, before < selection_.start ? size_t{1} : size_t{0}};
    ClearSelected();
  } else {
    return false;
  }
  return true;
}

void MaskedDateBox::Char(char32_t character) {
  if (character >= U'0' && character <= U'9') {
    TypeDigit(static_cast<char>(character));
  }
}

bool MaskedDateBox::KeyUp(int key, bool numLock) {
  const size_t p = selection_.start;
  if (overwriteMode_ && !leftPending_) {
    if (IsDigitKey(key, numLock) && p < kLength) {
      SelectOneAt(p);
    } else if (IsLeftKey(key, numLock)) {
      SelectOneAt(p > 0 ? p - 1 : p);
    } else if (IsRightKey(key, numLock)) {
      SelectOneAt(p);
      if (p < kLength) {
        leftPending_ = true;
        return true;
      }
      SelectOneAt(kLength - 1);
    } else if (IsHomeKey(key, numLock)) {
      SelectOneAt(0);
    }
  } else if (leftPending_) {
    leftPending_ = false;
    SelectOneAt(p > 0 ? p - 1 : p);
  }
  return false;
}

void MaskedDateBox::PlaceCaret(size_t caret) {
  selection_ = {caret, 0};
}

void MaskedDateBox::SelectOneAt(size_t position) {
  selection_ = {position, 1};
}

void MaskedDateBox::ClearSelected() {
  for (size_t at = selection_.start; at < selection_.start + selection_.length; ++at) {
    if (IsDigitPosition(at)) {
      text_[at] = kPrompt;
    }
  }
  PlaceCaret(selection_.start);
}

void MaskedDateBox::TypeDigit(char digit) {
  const size_t at = DigitPositionFrom(selection_.start);
  if (at >= kLength) {
    return;
  }
  if (!overwriteMode_) {
    // Insert: the digits from here on move one "#" position on; the last one drops out.
    size_t to = kLength;
    for (size_t from = kLength; from-- > at;) {
      if (IsDigitPosition(from)) {
        if (to < kLength) {
          text_[to] = text_[from];
        }
        to = from;
      }
    }
  }
  text_[at] = digit;
  PlaceCaret(DigitPositionFrom(at + 1));
}

}  // namespace orvex
