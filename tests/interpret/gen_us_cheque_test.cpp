#include <gtest/gtest.h>

#include "support/processing_harness.h"

namespace orvex {
namespace {

constexpr const char* kUSLine = "T123456789T 1234567U 0123";

TEST(ParseAndFeedGenUSCheque, NamesAndKeysCarryTheMicrTextAsAWhole) {
  const struct {
    const char* name;
    const char* keys;
    bool isUSCheque;
    const char* micr;
    ImageNames result;
    const char* typed;
  } cases[] = {
      {"US cheque",
       "GenUSFileNameTemplate={MM}{YY}\\US\\{MICR}.jpg\nGenUSTemplate={TAB}{MICR}{ENTER}\n",
       true,
       kUSLine,
       {"0326\\US\\T123456789T 1234567U 0123.jpg", ""},
       "{TAB}T123456789T 1234567U 0123{ENTER}"},
      {"no front template", "GenUSBackFileNameTemplate=b.jpg\nGenUSTemplate={MICR}\n", true, kUSLine, {}, kUSLine},
      {"back and file name",
       "GenUSFileNameTemplate=f{HH}.jpg\nGenUSBackFileNameTemplate={MICR}b.jpg\n"
       "GenUSTemplate={FileName}\n",
       true,
       "T1",
       {"f14.jpg", "T1b.jpg"},
       "f14.jpg"},
      {"unidentified without template", "GenUSTemplate=x\n", false, "??", {}, ""},
      {"unidentified",
       "UnidentifiedFileNameTemplate={MICR}.jpg\nUnidentifiedTemplate={MICR}\n",
       false,
       "A?1",
       {"A?1.jpg", ""},
       "A?1"},
  };
  for (const auto& c : cases) {
    test_support::ProcessingHarness h("[Main]\nDontPassPartialRead=1\n" + std::string(c.keys));
    EXPECT_EQ(h.processing.ParseAndFeedGenUSCheque(c.micr, c.isUSCheque), c.result) << c.name;
    EXPECT_EQ(h.delivery.typed, std::vector<std::string>{c.typed}) << c.name;
  }
}

TEST(ParseAndFeedGenUSCheque, ACancelledPromptMarksBothImagesNotToBeSaved) {
  test_support::ProcessingHarness h(
      "[Main]\nGenUSFileNameTemplate={User}.jpg\nGenUSBackFileNameTemplate={User}_b.jpg\nGenUSTemplate=x\n");
  EXPECT_EQ(h.processing.ParseAndFeedGenUSCheque(kUSLine, true),
            (ImageNames{"<<DONTSAVE>>.jpg", "<<DONTSAVE>>_b.jpg"}));
  EXPECT_EQ(h.prompt.asked, std::vector<std::string>{"בחר שם קובץ לתמונה"});
}

}  // namespace
}  // namespace orvex
