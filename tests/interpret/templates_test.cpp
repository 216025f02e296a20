#include "interpret/templates.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

constexpr LocalDateTime kMarch5At140709{2026, 3, 5, 14, 7, 9};

TEST(ExpandTemplate, FillsTheDateAndTimeCodesAndLeavesEverythingElse) {
  const struct {
    const char* text;
    const char* prefix;
    LocalDateTime when;
    const char* expected;
  } cases[] = {
      {"{MM}{YY}\\{ChequeNum}_{AccountNum}.jpg", "", kMarch5At140709, "0326\\{ChequeNum}_{AccountNum}.jpg"},
      {"{HH}:{NN}:{SS} {DD}/{MM}/{YYYY} {YY}", "", kMarch5At140709, "14:07:09 05/03/2026 26"},
      {",{HH}:{NN}:{SS},{DD}/{MM}/{YYYY},", "", kMarch5At140709, ",14:07:09,05/03/2026,"},
      {"{NN}{NN}{NN}", "", kMarch5At140709, "070707"},
      {"{hh}{Dd}{D}{DD/MM}{YYY}{ YY}{TAB}{ENTER}", "", kMarch5At140709, "{hh}{Dd}{D}{DD/MM}{YYY}{ YY}{TAB}{ENTER}"},
      {"{{DD}}", "", kMarch5At140709, "{05}"},
      {"{CDD}/{CMM}/{CYYYY} {DD}", "C", {2027, 2, 1, 0, 0, 0}, "01/02/2027 {DD}"},
      {"{CHH}{CNN}{CSS}{CYY}", "C", {2027, 2, 1, 0, 0, 0}, "00000027"},
      {"{DD}{CDD}", "", {2027, 2, 1, 0, 0, 0}, "01{CDD}"},
      {"{YYYY}{YY}", "", {2000, 12, 31, 23, 59, 59}, "200000"},
      {"{YYYY}", "", {987, 1, 1, 0, 0, 0}, "0987"},
      {"no codes", "", kMarch5At140709, "no codes"},
      {"", "", kMarch5At140709, ""},
      {"{", "", kMarch5At140709, "{"},
      {"{HH", "", kMarch5At140709, "{HH"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandTemplate(c.text, c.when, c.prefix), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace orvex
