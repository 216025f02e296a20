#include "interpret/mag_stripe.h"

#include <algorithm>

#include "base/error.h"
#include "base/extract_between.h"
#include "base/text.h"
#include "interpret/field_cutting.h"
#include "keys/key_code.h"

namespace orvex {
namespace {

// Up to `length` characters from position `start` (counted from 1); empty beyond the end.
std::string_view Mid(std::string_view text, size_t start, size_t length = std::string_view::npos) {
  return start <= text.size() ? text.substr(start - 1, length) : std::string_view();
}

std::string_view WithoutSentinels(std::string_view track) {
  if (track.size() < 2) {
    throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
  }
  return track.substr(1, track.size() - 2);
}

struct Expiry {
  std::string month;
  std::string year;
};

// Cards whose account begins with "59" keep three other characters before the year.
Expiry ExpiryOf(std::string_view account, std::string_view dateText) {
  const size_t yearStart = account.starts_with("59") ? 4 : 1;
  return {std::string(Mid(dateText, yearStart + 2, 2)), std::string(Mid(dateText, yearStart, 2))};
}

std::string Track1Text(std::string_view track, const ProfileSettings& settings) {
  const size_t firstCaret = track.find('^');
  const std::string_view partA = track.substr(0, firstCaret);
  const std::string name = ExtractBetween(1, track, "^", "^");
  const size_t secondCaret = track.find('^', firstCaret + 1);
  const std::string_view rest = secondCaret == std::string_view::npos ? track : track.substr(secondCaret + 1);
  const std::string_view account = Mid(partA, 3);
  const Expiry expiry = ExpiryOf(account, rest);
  std::string readableName = name;
  std::replace(readableName.begin(), readableName.end(), '/', ' ');
  return ReplacePlaceholders(settings.MagStripe1Template, {{"{MagPart1}", KeyCodeLiteral(partA)},
                                                           {"{MagPart2}", KeyCodeLiteral(name)},
                                                           {"{Account}", KeyCodeLiteral(account)},
                                                           {"{DateMM}", KeyCodeLiteral(expiry.month)},
                                                           {"{DateYY}", KeyCodeLiteral(expiry.year)},
                                                           {"{Name}", KeyCodeLiteral(readableName)}});
}

std::string Track2Text(std::string_view track, const ProfileSettings& settings) {
  const std::string_view inner = WithoutSentinels(track);
  const size_t equals = inner.find('=');
  const std::string_view rawPart2 = equals == std::string_view::npos ? std::string_view() : inner.substr(equals + 1);
  const std::string part1 =
      CutFieldByKeys(inner.substr(0, equals), {settings.MagStripe2Part1Start, settings.MagStripe2Part1Length,
                                               settings.MagStripe2Part1LeadingZeros, settings.MagStripe2Part1Flip});
  const std::string part2 =
      CutFieldByKeys(rawPart2, {settings.MagStripe2Part2Start, settings.MagStripe2Part2Length,
                                settings.MagStripe2Part2LeadingZeros, settings.MagStripe2Part2Flip});
  const Expiry expiry = ExpiryOf(part1, part2);
  const std::string account = KeyCodeLiteral(part1);
  return ReplacePlaceholders(settings.MagStripe2Template, {{"{MagPart1}", account},
                                                           {"{MagPart2}", KeyCodeLiteral(part2)},
                                                           {"{Account}", account},
                                                           {"{DateMM}", KeyCodeLiteral(expiry.month)},
                                                           {"{DateYY}", KeyCodeLiteral(expiry.year)}});
}

}  // namespace

std::string MagStripeText(std::string_view track, const ProfileSettings& settings) {
  if (track.find('=') != std::string_view::npos) {
    return Track2Text(track, settings);
  }
  if (track.find('^') != std::string_view::npos) {
    return Track1Text(track, settings);
  }
  return KeyCodeLiteral(WithoutSentinels(track)) + "{ENTER}";
}

}  // namespace orvex
