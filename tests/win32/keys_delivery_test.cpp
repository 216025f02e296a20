// The clipboard path, window activation and FeedStringToApp with the real engines, under Wine.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "base/error.h"
#include "base/wide_win32.h"
#include "keys/engines_win32.h"
#include "keys_target_client.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::KeysTargetOptions;
using test_support::KeysTargetProcess;
using test_support::Typed;
using Lines = std::vector<std::string>;

std::wstring ClipboardText() {
  std::wstring text;
  if (OpenClipboard(nullptr)) {
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  return text;
}

TEST(ClipboardPaste, TheTargetsEditControlReceivesThePlainText) {
  KeysTargetOptions options;
  options.title = L"Orvex paste target";
  options.edit = true;
  KeysTargetProcess target(options);
  ASSERT_TRUE(target.Ready());
  const struct {
    const char* text;
    std::wstring pasted;
  } cases[] = {
      {"12{TAB}34{ENTER}", L"12\t34\r\n"},
      {"+a{F5}{UP}{x 3}~", L"axxx\r\n"},
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D{NUMPADENTER}", L"\u05E9\u05DC\u05D5\u05DD\r\n"},
      {"1{DECIMAL}5{ADD}", L"1.5+"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(target.BringToForeground());
    SendMessageW(FindWindowExW(target.Window(), nullptr, L"EDIT", nullptr), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L""));
    KeysToClipboard(c.text);
    EXPECT_EQ(ClipboardText(), c.pasted) << c.text;
    PasteToForeground();
    EXPECT_EQ(target.EditText(), c.pasted) << c.text;
  }
}

TEST(ClipboardPaste, EmptyBracesFailBeforeTheClipboardIsTouched) {
  KeysToClipboard("kept");
  EXPECT_THROW(KeysToClipboard("new{}"), Error);
  EXPECT_EQ(ClipboardText(), L"kept");
}

TEST(ClipboardPaste, WithoutAForegroundWindowOnlyTheTraceTellsWhy) {
  {
    KeysTargetProcess target;  // the foreground window, ended when the block ends
    ASSERT_TRUE(target.Ready());
  }
  for (int wait = 0; wait < 500 && GetForegroundWindow(); ++wait) {
    Sleep(10);
  }
  ASSERT_EQ(GetForegroundWindow(), nullptr);
  orvex::test_support::TraceCapture trace;
  PasteToForeground();
  const std::vector<std::string> messages = trace.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "Cannot find target");
  EXPECT_FALSE(messages[1].empty());
  EXPECT_EQ(messages[1].find_first_not_of("0123456789"), std::string::npos) << messages[1];
}

class WindowActivation : public ::testing::Test {
 protected:
  static KeysTargetOptions Titled(const wchar_t* title) {
    KeysTargetOptions options;
    options.title = title;
    return options;
  }
  KeysTargetProcess alpha{Titled(L"Orvex Alpha Cheques")};
  KeysTargetProcess beta{Titled(L"Orvex Beta Ledger")};
};

TEST_F(WindowActivation, APartOfTheTitleFindsTheWindowAndTheKeysGoThere) {
  ASSERT_TRUE(alpha.Ready());
  ASSERT_TRUE(beta.Ready());
  const struct {
    const char* title;
    KeysTargetProcess* expected;
  } cases[] = {
      {"Alpha Cheq", &alpha},  // a part of the title
      {"orvex beta", &beta},   // the start of the title, in another case
      {"Orvex Alpha Cheques", &alpha},
      {"Ledger", &beta},
  };
  for (const auto& c : cases) {
    KeysTargetProcess* other = c.expected == &alpha ? &beta : &alpha;
    ASSERT_TRUE(other->BringToForeground());
    EXPECT_TRUE(ActivateWindowByTitle(c.title)) << c.title;
    const size_t otherBefore = other->Lines().size();
    const Lines recorded = c.expected->Record([] { VbSendInput("x"); });
    EXPECT_EQ(recorded, Typed('X', 'x')) << c.title;
    EXPECT_EQ(other->Lines().size(), otherBefore) << c.title;
  }
}

TEST_F(WindowActivation, NoMatchingTitleLeavesTheForegroundAlone) {
  ASSERT_TRUE(beta.BringToForeground());
  for (const char* title : {"Gamma", "Orvex Alpha Cheques!", ""}) {
    EXPECT_FALSE(ActivateWindowByTitle(title)) << title;
    EXPECT_EQ(GetForegroundWindow(), beta.Window()) << title;
  }
}

class RecordingHost : public FeedHost {
 public:
  void StopPollingTimer() override {}
  void StartPollingTimer() override {}
  void ShowLastDataSent(const std::string& text) override { shown = text; }
  std::string GeneralDateTimeNow() override { return "now"; }
  std::string shown;
};

TEST_F(WindowActivation, WhenActivateWindowFailsDecidesWhetherTheForegroundGetsTheText) {
  Win32KeyDelivery delivery;
  RecordingHost host;
  KeyFeeder feeder(delivery, host);
  ProfileSettings settings;
  settings.ActivateWindow = true;
  settings.ActivateWindowTitle = "No such window 4711";
  ASSERT_TRUE(beta.BringToForeground());

  settings.WhenActivateWindowFails = false;
  EXPECT_TRUE(beta.Record([&] { feeder.FeedStringToApp("12", settings); }).empty());
  EXPECT_TRUE(feeder.LastFedText().empty());

  settings.WhenActivateWindowFails = true;
  EXPECT_EQ(beta.Record([&] { feeder.FeedStringToApp("12", settings); }),
            test_support::Concat({Typed('1', '1'), Typed('2', '2')}));
  EXPECT_EQ(host.shown, "now:\r\n\r\n12\r\n***SendInput returned: True");
}

TEST(RefusedActivation, AMatchedWindowThatStaysInTheBackgroundGetsNothing) {
  KeysTargetOptions frontOptions;
  frontOptions.title = L"Orvex Front Ledger";
  KeysTargetProcess front(frontOptions);
  KeysTargetOptions refusingOptions;
  refusingOptions.title = L"Orvex Refusing Cheques";
  refusingOptions.refuseActivation = true;
  KeysTargetProcess refusing(refusingOptions);
  ASSERT_TRUE(front.Ready());
  ASSERT_TRUE(refusing.Ready());
  ASSERT_TRUE(front.BringToForeground());
  ASSERT_TRUE(refusing.WaitUntilInBackground());

  // Waiting the full two seconds would only make the test slower.
  constexpr std::chrono::milliseconds kShortLimit{300};
  EXPECT_FALSE(ActivateWindowByTitle("Refusing Cheques", kShortLimit));

  Win32KeyDelivery delivery(kShortLimit);
  RecordingHost host;
  KeyFeeder feeder(delivery, host);
  ProfileSettings settings;
  settings.ActivateWindow = true;
  settings.ActivateWindowTitle = "Refusing";
  orvex::test_support::TraceCapture trace;
  ASSERT_TRUE(front.BringToForeground());
  ASSERT_TRUE(refusing.WaitUntilInBackground());
  const size_t refusingBefore = refusing.Lines().size();
  const Lines byFront = front.Record([&] {
    feeder.FeedStringToApp("12{TAB}", settings);
    front.BringToForeground();
  });
  EXPECT_TRUE(byFront.empty());
  EXPECT_EQ(refusing.Lines().size(), refusingBefore);
  EXPECT_FALSE(trace.Contains("VbSendInput => 12{TAB}"));
  EXPECT_TRUE(trace.Contains("Cannot bring the window \"Refusing\" to the foreground"));
  EXPECT_TRUE(feeder.LastFedText().empty());
}

TEST_F(WindowActivation, FeedStringToAppActivatesTheConfiguredWindowBeforeTyping) {
  Win32KeyDelivery delivery;
  RecordingHost host;
  KeyFeeder feeder(delivery, host);
  ProfileSettings settings;
  settings.ActivateWindow = true;
  settings.ActivateWindowTitle = "Alpha";
  settings.KeyPressDelay = 5;
  ASSERT_TRUE(beta.BringToForeground());
  EXPECT_EQ(alpha.Record([&] { feeder.FeedStringToApp("{TAB}", settings); }), Typed(VK_TAB, 9));
  EXPECT_EQ(host.shown, "now:\r\n\r\n\t");
}

}  // namespace
}  // namespace orvex
