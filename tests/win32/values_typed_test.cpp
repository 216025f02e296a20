// Values put into a keystroke template reach a real window under Wine exactly as they are: no
// modifier of the key-code language fires.

#include <gtest/gtest.h>

#include <algorithm>

#include "keys/engines_win32.h"
#include "keys/key_code.h"
#include "keys_target_client.h"

namespace orvex {
namespace {

using Lines = std::vector<std::string>;

TEST(ValuesTyped, SendInputTypesEachValueAsItsCharactersWithNoAltKey) {
  test_support::KeysTargetProcess target;
  ASSERT_TRUE(target.Ready()) << "the recording target window did not start";
  for (const std::string value : {"%B4580123456789012", "1,500.00", "a+b^c%d{e}~f"}) {
    ASSERT_TRUE(target.BringToForeground());
    const Lines recorded = target.Record([&] { VbSendInput("{TAB}" + KeyCodeLiteral(value)); });
    Lines typed;
    std::copy_if(recorded.begin(), recorded.end(), std::back_inserter(typed),
                 [](const std::string& line) { return line.starts_with("CHAR"); });
    Lines expected = {test_support::Char('\t')};
    for (const char c : value) {
      expected.push_back(test_support::Char(c));
    }
    EXPECT_EQ(typed, expected) << value;
    EXPECT_TRUE(std::none_of(recorded.begin(), recorded.end(), [](const std::string& line) {
      return line.starts_with("SYSKEY");
    })) << value;
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), test_support::KeyDown(VK_CONTROL)), 0) << value;
  }
}

}  // namespace
}  // namespace orvex
