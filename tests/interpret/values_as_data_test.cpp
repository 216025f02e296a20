// Values from outside the configuration reach the target application exactly as they are,
// whichever processor puts them into a keystroke template.

#include <gtest/gtest.h>

#include "keys/plain_text.h"
#include "support/processing_harness.h"

namespace orvex {
namespace {

using test_support::ProcessingHarness;

constexpr const char* kSpecial = "a+b^c%d{e}~f";

TEST(ValuesAsData, EveryKindOfValueArrivesAsTyped) {
  const struct {
    const char* name;
    const char* keys;
    void (*process)(ProcessingHarness&);
    const char* arrives;
  } cases[] = {
      {"amount", "LetUserFillDetails=2\nChequeTemplate=<{Amount}>\n",
       [](ProcessingHarness& h) {
         h.dialogs.answers.push_back(ChequeCompletion{"A0001234 C12A34567E 000123456C", kSpecial, "01/02/2027"});
         h.processing.ParseAndFeedCheque("", "", "", false);
       },
       "<a+b^c%d{e}~f>"},
      {"operator's file name", "ImageFileNameTemplate={User}\nChequeTemplate=<{FileName}>\n",
       [](ProcessingHarness& h) {
         h.prompt.answers = {kSpecial};
         h.processing.ParseAndFeedCheque("A0001234 C12A34567E 000123456A", "", "", false);
       },
       "<a+b^c%d{e}~f>"},
      {"debug window's account", "ChequeTemplate=<{AccountNum}>\nDontPassPartialRead=0\n",
       [](ProcessingHarness& h) {
         h.dialogs.debugAccount = {"12", "345", "+1~"};
         h.processing.ParseAndFeedCheque("DEBUG", "", "", false);
       },
       "<+1~>"},
      {"track 1 part", "MagStripe1Template=<{MagPart1}|{Name}>\n",
       [](ProcessingHarness& h) { h.processing.ParseAndFeedMagStripe("%B4580^O'NEIL/A+B^2712?"); },
       "<%B4580|O'NEIL A+B>"},
      {"other track", "", [](ProcessingHarness& h) { h.processing.ParseAndFeedMagStripe("!%x{~!"); }, "%x{~\r\n"},
      {"unidentified MICR", "UnidentifiedTemplate=<{MICR}>\n",
       [](ProcessingHarness& h) { h.processing.ParseAndFeedGenUSCheque("^%{1}", false); }, "<^%{1}>"},
  };
  for (const auto& c : cases) {
    ProcessingHarness h("[Main]\n" + std::string(c.keys));
    c.process(h);
    ASSERT_EQ(h.delivery.typed.size(), 1u) << c.name;
    EXPECT_EQ(KeysToPlainText(h.delivery.typed[0]), c.arrives) << c.name;
  }
}

}  // namespace
}  // namespace orvex
