#include "app/details.h"

#include <gtest/gtest.h>

#include "support/fake_message_boxes.h"

namespace orvex {
namespace {

class RecordingProcessors : public DocumentProcessors {
 public:
  ImageNames ParseAndFeedCheque(const std::string& micrText, const std::string& amount, const std::string& date,
                                bool ignoreVerifyFail) override {
    calls.push_back("cheque " + micrText + "|" + amount + "|" + date + "|" + (ignoreVerifyFail ? "1" : "0"));
    return {};
  }
  void ParseAndFeedMagStripe(const std::string& track) override { calls.push_back("stripe " + track); }
  ImageNames ParseAndFeedGenUSCheque(const std::string& micrText, bool) override {
    calls.push_back("us " + micrText);
    return {};
  }
  std::vector<std::string> calls;
};

TEST(TryButton, NamesTheKindAndOnYesProcessesTheLineAsARead) {
  const struct {
    std::string text;
    std::string_view name;
    std::vector<std::string> calls;
  } cases[] = {
      {"A0001234 C12A34567E 000123456C", "צ'ק רגיל", {"cheque A0001234 C12A34567E 000123456C|||0"}},
      {";4580123412341234=2812?", "כרטיס מגנטי", {"stripe ;4580123412341234=2812?"}},
      // A postal bank cheque goes on without what follows its last "C".
      {"A1234C567B", "צ'ק של בנק הדואר", {"cheque A1234C|||0"}},
      {"A1234B", "צ'ק של בנק הדואר", {"cheque |||0"}},
      {"NO MICR", "מסמך ללא דיו מגנטית", {}},
      {"hello", "לא מזוהה", {}},
      {"T123456789T 1234567U 0123", "", {}},  // a US cheque: no name, and "Yes" does nothing
  };
  for (const auto& c : cases) {
    test_support::FakeMessageBoxes boxes;
    boxes.AnswerNext(MessageAnswer::Yes);
    RecordingProcessors processors;
    TryManualData([&] { return c.text; }, 0, boxes, processors);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "תוצאה: " + std::string(c.name) +
                                         "\r\n\r\nהאם ברצונך לנסות לעבד את המידע, כולל העברת המידע כמקשים לתוכנה, "
                                         "במידת הצורך?");
    EXPECT_EQ(boxes.Shown()[0].title, "מידע ידני");
    EXPECT_EQ(boxes.Shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(processors.calls, c.calls) << c.text;
  }
}

TEST(TryButton, NoLeavesEverythingUnchanged) {
  test_support::FakeMessageBoxes boxes;
  boxes.AnswerNext(MessageAnswer::No);
  RecordingProcessors processors;
  TryManualData([] { return std::string(kDetailsTexts.manualData); }, 0, boxes, processors);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(processors.calls.empty());
}

TEST(TryButton, ProcessesTheLineAsItStandsWhenTheOperatorAnswers) {
  test_support::FakeMessageBoxes boxes;
  boxes.AnswerNext(MessageAnswer::Yes);
  RecordingProcessors processors;
  std::vector<std::string> entries = {"A0001234 C12A34567E 000123456C", "A0009999 C12A34567E 000123456C"};
  TryManualData(
      [&] {
        std::string entry = entries.front();
        entries.erase(entries.begin(), entries.begin() + (entries.size() > 1));
        return entry;
      },
      0, boxes, processors);
  EXPECT_TRUE(boxes.Shown()[0].text.starts_with("תוצאה: צ'ק רגיל")) << "classified as it was asked";
  EXPECT_EQ(processors.calls, std::vector<std::string>{"cheque A0009999 C12A34567E 000123456C|||0"});
}

}  // namespace
}  // namespace orvex
