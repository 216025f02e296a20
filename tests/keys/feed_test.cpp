#include "keys/feed.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <regex>
#include <set>
#include <system_error>

#include "base/error.h"

namespace orvex {
namespace {

// Records every call in order, as one text each; steps named in `failing` fail with `failure`.
class FakeDelivery : public KeyDelivery {
 public:
  std::vector<std::string> calls;
  std::set<std::string> failing;
  std::function<void()> failure = [] { throw Error(kErrInvalidArgument, "Invalid procedure call or argument"); };
  bool windowExists = true;
  bool sendInputAccepts = true;

  bool ActivateWindowByTitle(std::string_view title) override {
    Call("Activate " + std::string(title));
    return windowExists;
  }
  void KeysToClipboard(std::string_view text) override { Call("Clipboard " + std::string(text)); }
  void PasteToForeground() override { Call("Paste"); }
  void SendKeysAndWait(std::string_view text) override { Call("Wait " + std::string(text)); }
  void VbSendKeys(std::string_view text, int32_t delay, bool yieldOnDelay) override {
    Call("SendKeys " + std::string(text) + " " + std::to_string(delay) + (yieldOnDelay ? " yield" : ""));
  }
  bool VbSendInput(std::string_view text) override {
    Call("SendInput " + std::string(text));
    return sendInputAccepts;
  }
  void YieldToPendingMessages() override { Call("Yield"); }

  void Call(const std::string& call) {
    calls.push_back(call);
    if (failing.contains(call.substr(0, call.find(' ')))) {
      failure();
    }
  }
};

class FakeHost : public FeedHost {
 public:
  explicit FakeHost(std::vector<std::string>& calls) : calls_(calls) {}
  std::vector<std::string> shown;

  void StopPollingTimer() override { calls_.push_back("TimerOff"); }
  void StartPollingTimer() override { calls_.push_back("TimerOn"); }
  void ShowLastDataSent(const std::string& text) override { shown.push_back(text); }
  std::string GeneralDateTimeNow() override { return "08/12/2026 10:15:00"; }

 private:
  std::vector<std::string>& calls_;
};

class FeedStringToAppTest : public ::testing::Test {
 protected:
  FakeDelivery delivery;
  FakeHost host{delivery.calls};
  KeyFeeder feeder{delivery, host};
};

using Calls = std::vector<std::string>;

ProfileSettings With(void (*set)(ProfileSettings&)) {
  ProfileSettings settings;
  set(settings);
  return settings;
}

TEST_F(FeedStringToAppTest, TheFirstMatchingRuleChoosesTheEngine) {
  const struct {
    const char* name;
    ProfileSettings settings;
    Calls calls;
  } cases[] = {
      {"SendInput by default", ProfileSettings(), {"TimerOff", "SendInput 1{TAB}", "TimerOn"}},
      {"keybd_event for a delay",
       With([](ProfileSettings& s) { s.KeyPressDelay = 50; }),
       {"TimerOff", "SendKeys 1{TAB} 50", "TimerOn"}},
      {"keybd_event when asked",
       With([](ProfileSettings& s) {
         s.KeyPressDelay = 0;
         s.UseOldSendKeys = true;
         s.DoEventsOnDelay = true;
       }),
       {"TimerOff", "SendKeys 1{TAB} 0 yield", "TimerOn"}},
      {"clipboard before all, timer left running",
       With([](ProfileSettings& s) {
         s.ClipboardWin98DOS = true;
         s.WaitMode = true;
         s.KeyPressDelay = 50;
       }),
       {"Clipboard 1{TAB}", "Paste"}},
      {"wait mode before the delay",
       With([](ProfileSettings& s) {
         s.WaitMode = true;
         s.KeyPressDelay = 50;
         s.UseOldSendKeys = true;
       }),
       {"Wait 1{TAB}"}},
  };
  for (const auto& c : cases) {
    delivery.calls.clear();
    feeder.FeedStringToApp("1{TAB}", c.settings);
    EXPECT_EQ(delivery.calls, c.calls) << c.name;
  }
}

TEST_F(FeedStringToAppTest, LastFedTextIsTheMomentAndTheReadableText) {
  feeder.FeedStringToApp("12{TAB}34{ENTER}{enter}{Tab}", {});
  EXPECT_EQ(feeder.LastFedText(), "08/12/2026 10:15:00:\r\n\r\n12\t34\r\n{enter}{Tab}");
  EXPECT_EQ(FormatLastFedText("t", "{ENTER}{TAB}{ENTER}"), "t:\r\n\r\n\r\n\t\r\n");
  EXPECT_EQ(FormatLastFedText("t", "{{TAB}}"), "t:\r\n\r\n{\t}");
}

TEST_F(FeedStringToAppTest, TheDetailsBoxShowsSendInputsResultOnlyForThatEngine) {
  const struct {
    ProfileSettings settings;
    bool accepted;
    std::string suffix;
  } cases[] = {
      {ProfileSettings(), true, "\r\n***SendInput returned: True"},
      {ProfileSettings(), false, "\r\n***SendInput returned: False"},
      {With([](ProfileSettings& s) { s.KeyPressDelay = 50; }), true, ""},
      {With([](ProfileSettings& s) { s.ClipboardWin98DOS = true; }), true, ""},
      {With([](ProfileSettings& s) { s.WaitMode = true; }), true, ""},
  };
  for (const auto& c : cases) {
    delivery.sendInputAccepts = c.accepted;
    host.shown.clear();
    feeder.FeedStringToApp("7", c.settings);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0], feeder.LastFedText() + c.suffix);
  }
}

TEST_F(FeedStringToAppTest, MissingTargetWindowDropsTheTextUnlessAskedToTypeAnyway) {
  feeder.FeedStringToApp("first", {});
  const std::string before = feeder.LastFedText();
  delivery.windowExists = false;
  delivery.calls.clear();

  feeder.FeedStringToApp("second", With([](ProfileSettings& s) {
                           s.ActivateWindow = true;
                           s.ActivateWindowTitle = "epad";
                         }));
  EXPECT_EQ(delivery.calls, (Calls{"Activate epad"}));
  EXPECT_EQ(feeder.LastFedText(), before);
  EXPECT_EQ(host.shown.size(), 1u);

  delivery.calls.clear();
  feeder.FeedStringToApp("third", With([](ProfileSettings& s) {
                           s.ActivateWindow = true;
                           s.ActivateWindowTitle = "epad";
                           s.WhenActivateWindowFails = true;
                         }));
  EXPECT_EQ(delivery.calls, (Calls{"Activate epad", "TimerOff", "SendInput third", "TimerOn"}));
  EXPECT_NE(feeder.LastFedText().find("third"), std::string::npos);
}

TEST_F(FeedStringToAppTest, WithActivationOnFailingStepsAreSkipped) {
  const struct {
    const char* failing;
    ProfileSettings settings;
    Calls calls;
  } cases[] = {
      {"Activate",
       With([](ProfileSettings& s) {
         s.ActivateWindow = true;
         s.ActivateWindowTitle = "x";
       }),
       {"Activate x"}},
      {"SendInput",
       With([](ProfileSettings& s) {
         s.ActivateWindow = true;
         s.ActivateWindowTitle = "x";
       }),
       {"Activate x", "TimerOff", "SendInput t", "TimerOn"}},
      {"Clipboard",
       With([](ProfileSettings& s) {
         s.ActivateWindow = true;
         s.ActivateWindowTitle = "x";
         s.ClipboardWin98DOS = true;
       }),
       {"Activate x", "Clipboard t"}},  // no paste of what the clipboard held before
      {"Yield",
       With([](ProfileSettings& s) {
         s.ActivateWindow = true;
         s.ActivateWindowTitle = "x";
         s.ActivateWindowAfter = true;
         s.WaitMode = true;
       }),
       {"Activate x", "Wait t", "Yield", "Activate x"}},
  };
  for (const auto& c : cases) {
    delivery.calls.clear();
    delivery.failing = {c.failing};
    EXPECT_NO_THROW(feeder.FeedStringToApp("t", c.settings)) << c.failing;
    EXPECT_EQ(delivery.calls, c.calls) << c.failing;
  }
}

TEST_F(FeedStringToAppTest, WithActivationOnAStepFailingWithAnyExceptionIsSkipped) {
  const std::function<void()> failures[] = {
      [] { throw std::bad_alloc(); },
      [] { throw std::regex_error(std::regex_constants::error_brack); },
      [] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); },
  };
  for (const auto& failure : failures) {
    delivery.calls.clear();
    delivery.failing = {"SendInput", "Yield"};
    delivery.failure = failure;
    EXPECT_NO_THROW(feeder.FeedStringToApp("t", With([](ProfileSettings& s) {
                                             s.ActivateWindow = true;
                                             s.ActivateWindowTitle = "x";
                                             s.ActivateWindowAfter = true;
                                           })));
    EXPECT_EQ(delivery.calls, (Calls{"Activate x", "TimerOff", "SendInput t", "TimerOn", "Yield", "Activate x"}));
  }
}

TEST_F(FeedStringToAppTest, AMalformedTextReachesTheCallerBeforeAnyWindowOrKeyIsTouched) {
  const ProfileSettings profiles[] = {
      ProfileSettings(),
      With([](ProfileSettings& s) {
        s.ActivateWindow = true;
        s.ActivateWindowTitle = "x";
        s.WhenActivateWindowFails = true;
        s.ActivateWindowAfter = true;
      }),
      With([](ProfileSettings& s) {
        s.ActivateWindow = true;
        s.ActivateWindowTitle = "x";
        s.ClipboardWin98DOS = true;
      }),
      With([](ProfileSettings& s) { s.WaitMode = true; }),
      With([](ProfileSettings& s) { s.KeyPressDelay = 50; }),
  };
  for (const char* text : {"{TAB 5000}", "12{TAB}{TAB 2000000000}", "ab{}cd"}) {
    for (const ProfileSettings& settings : profiles) {
      delivery.calls.clear();
      try {
        feeder.FeedStringToApp(text, settings);
        ADD_FAILURE() << text << " was accepted";
      } catch (const Error& error) {
        EXPECT_EQ(error.Number(), kErrInvalidArgument) << text;
      }
      EXPECT_TRUE(delivery.calls.empty()) << text;
      EXPECT_TRUE(host.shown.empty()) << text;
      EXPECT_TRUE(feeder.LastFedText().empty()) << text;
    }
  }
}

TEST_F(FeedStringToAppTest, WithoutActivationAFailureReachesTheCallerAfterTheTimerRestarts) {
  const struct {
    const char* failing;
    ProfileSettings settings;
    Calls calls;
  } cases[] = {
      {"SendInput", ProfileSettings(), {"TimerOff", "SendInput t", "TimerOn"}},
      {"SendKeys", With([](ProfileSettings& s) { s.UseOldSendKeys = true; }), {"TimerOff", "SendKeys t 0", "TimerOn"}},
      {"Clipboard", With([](ProfileSettings& s) { s.ClipboardWin98DOS = true; }), {"Clipboard t"}},
      {"Wait", With([](ProfileSettings& s) { s.WaitMode = true; }), {"Wait t"}},
  };
  for (const auto& c : cases) {
    delivery.calls.clear();
    delivery.failing = {c.failing};
    host.shown.clear();
    EXPECT_THROW(feeder.FeedStringToApp("t", c.settings), Error) << c.failing;
    EXPECT_EQ(delivery.calls, c.calls) << c.failing;
    EXPECT_TRUE(host.shown.empty()) << c.failing;
    EXPECT_TRUE(feeder.LastFedText().empty()) << c.failing;
  }
}

TEST_F(FeedStringToAppTest, ReactivationAfterTypingSkipsItsFailuresEvenWithoutActivationBefore) {
  delivery.failing = {"Activate"};
  EXPECT_NO_THROW(feeder.FeedStringToApp("t", With([](ProfileSettings& s) {
                                           s.ActivateWindowTitle = "Ledger";
                                           s.ActivateWindowAfter = true;
                                         })));
  EXPECT_EQ(delivery.calls, (Calls{"TimerOff", "SendInput t", "TimerOn", "Yield", "Activate Ledger"}));
  EXPECT_EQ(host.shown.size(), 1u);
}

}  // namespace
}  // namespace orvex
