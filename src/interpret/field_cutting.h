#pragma once

// Cutting a captured field to what the target application wants, by a profile's Start, Length,
// LeadingZeros and Flip keys. A field is cut by CutField, then TrimLeadingZeros, then FlipField.
// Fields are digits and "?", so positions count characters and bytes alike.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

// Up to `length` characters from position `start` (counted from 1; a negative start counts from
// the end, -1 being the last character). A negative length takes the -length characters that end
// at the start position. A start of 0, or a backward cut beginning before the first character,
// raises Error 5.
std::string CutField(std::string_view text, int32_t start, int32_t length);

// leadingZeros >= 0 keeps at most that many leading zeros (an all-zero field keeps one zero);
// -2 pads with zeros to `length` characters (Error 7 beyond 4096); any other negative value leaves the field as it is.
std::string TrimLeadingZeros(std::string_view text, int32_t leadingZeros, int32_t length);

// The field reversed when `flip` is set.
std::string FlipField(std::string_view text, bool flip);

// One field's Start, Length, LeadingZeros and Flip keys.
struct FieldCut {
  int32_t start = 1;
  int32_t length = 0;
  int32_t leadingZeros = -1;
  bool flip = false;
};

// The field cut by its keys: CutField, then TrimLeadingZeros (padding with -2 to Length), then FlipField.
std::string CutFieldByKeys(std::string_view text, const FieldCut& cut);

// The account cut to the digits its bank uses (counted from the right); banks without a known
// length keep the whole account.
std::string TrimAccountToBankLength(std::string_view account, int16_t bank);

}  // namespace orvex
