#include "interpret/mag_stripe.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/processing_harness.h"

namespace orvex {
namespace {

// The sample configuration's track-2 keys: both parts from 1, length 99, kept as they are.
ProfileSettings SampleStripeSettings() {
  ProfileSettings settings = DefaultProfileSettings();
  settings.MagStripe2Part1Start = settings.MagStripe2Part2Start = 1;
  settings.MagStripe2Part1Length = settings.MagStripe2Part2Length = 99;
  settings.MagStripe2Part1LeadingZeros = settings.MagStripe2Part2LeadingZeros = -1;
  return settings;
}

TEST(MagStripeText, EachKindOfTrackFillsItsTemplate) {
  const struct {
    const char* track;
    const char* track1Template;
    const char* track2Template;
    const char* text;
  } cases[] = {
      {";4580123456789012=27121010000?", "", "{MagPart1}={MagPart2}{ENTER}|{DateYY}|{DateMM}",
       "4580123456789012=27121010000{ENTER}|27|12"},
      {";5912345678=ABC2712?", "", "{Account}:{DateMM}.{DateYY}", "5912345678:12.27"},  // "59" skips three
      {"%B4580123456789012^DOE/JOHN^2712101?", "{Name}{ENTER}{Account}{TAB}{DateMM}.{DateYY}{ENTER}", "",
       "DOE JOHN{ENTER}4580123456789012{TAB}12.27{ENTER}"},
      {"%B5900000000^DOE/JOHN^XYZ2712?", "{DateMM}.{DateYY}", "", "12.27"},
      {"%B4580^DOE/JOHN^2712?", "{MagPart1}|{MagPart2}|{DD}", "", "{%}B4580|DOE/JOHN|{DD}"},  // no date codes
      {"%B4580^NO SECOND CARET", "{Name}|{DateYY}", "", "|{%}B"},
      {"%B1^N^=1?", "", "{MagPart1}", "B1{^}N{^}"},  // "=" makes it track 2
      {";12345=", "", "{MagPart1}|{MagPart2}|{DateMM}{DateYY}", "12345||"},
      {";12345?", "", "", "12345{ENTER}"},
      {"!ABC!", "", "", "ABC{ENTER}"},
  };
  for (const auto& c : cases) {
    ProfileSettings settings = SampleStripeSettings();
    settings.MagStripe1Template = c.track1Template;
    settings.MagStripe2Template = c.track2Template;
    EXPECT_EQ(MagStripeText(c.track, settings), c.text) << c.track;
  }
}

TEST(MagStripeText, ATrackWithoutSentinelsOrACutOutsideThePartFails) {
  ProfileSettings badCut = SampleStripeSettings();
  badCut.MagStripe2Part1Start = 0;
  EXPECT_THROW(MagStripeText("x", SampleStripeSettings()), Error);
  EXPECT_THROW(MagStripeText("", SampleStripeSettings()), Error);
  EXPECT_THROW(MagStripeText(";1=2?", badCut), Error);
}

TEST(ParseAndFeedMagStripe, TypesTheTrackAndPassesAFailureOn) {
  test_support::ProcessingHarness h("[Main]\nMagStripe2Template={MagPart1}{ENTER}\nMagStripe2Part1Length=4\n");
  h.processing.ParseAndFeedMagStripe(";4580123456789012=2712?");
  EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"4580{ENTER}"});
  EXPECT_THROW(h.processing.ParseAndFeedMagStripe("x"), Error);
  EXPECT_EQ(h.delivery.typed.size(), 1u);
}

}  // namespace
}  // namespace orvex
