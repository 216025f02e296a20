// The typing engines type into a real window (tools/keys_target) under Wine; the window records
// every keyboard message it takes from its queue.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "base/error.h"
#include "base/wait.h"
#include "keys/engines_win32.h"
#include "keys_target_client.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::Char;
using test_support::Concat;
using test_support::KeyDown;
using test_support::KeysTargetOptions;
using test_support::KeysTargetProcess;
using test_support::KeyUp;
using test_support::SysKeyDown;
using test_support::SysKeyUp;
using test_support::Typed;
using Lines = std::vector<std::string>;

constexpr int kVkPacket = 231;  // the key of a Unicode keyboard event

enum class Engine { kSendInput, kKeybdEvent, kWaitMode };

const char* NameOf(Engine engine) {
  switch (engine) {
    case Engine::kSendInput:
      return "SendInput";
    case Engine::kKeybdEvent:
      return "keybd_event";
    case Engine::kWaitMode:
      return "wait mode";
  }
  return "";
}

void TypeWith(Engine engine, const std::string& text) {
  switch (engine) {
    case Engine::kSendInput:
      VbSendInput(text);
      break;
    case Engine::kKeybdEvent:
      VbSendKeys(text, 0, false);
      break;
    case Engine::kWaitMode:
      SendKeysAndWait(text);
      break;
  }
}

// Wait mode closes its text with a press of the unassigned key 0x88; the target records it too.
Lines WithoutWaitMarker(Lines lines) {
  std::erase_if(lines, [](const std::string& line) { return line == KeyDown(0x88) || line == KeyUp(0x88); });
  return lines;
}

Lines Only(const Lines& lines, std::string_view prefix) {
  Lines kept;
  for (const std::string& line : lines) {
    if (line.starts_with(prefix)) {
      kept.push_back(line);
    }
  }
  return kept;
}

// Sets the NumLock toggle as this thread sees it, which is what the SendInput engine asks.
void SetNumLock(bool on) {
  BYTE states[256] = {};
  GetKeyboardState(states);
  states[VK_NUMLOCK] = on ? 1 : 0;
  SetKeyboardState(states);
}

class TypingEngines : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { target = std::make_unique<KeysTargetProcess>(); }
  static void TearDownTestSuite() { target.reset(); }
  void SetUp() override {
    ASSERT_TRUE(target->Ready()) << "the recording target window did not start";
    ASSERT_TRUE(target->BringToForeground());
  }

  static std::unique_ptr<KeysTargetProcess> target;
};

std::unique_ptr<KeysTargetProcess> TypingEngines::target;

enum class Compare { kAll, kKeysOnly, kCharsOnly };

struct TypingCase {
  const char* text;
  bool numLockOn;
  Lines bySendInput;
  Lines byKeybdEvent;  // when empty: the same as by SendInput
  Compare compare = Compare::kAll;
};

const Lines kNumLockPress = {KeyDown(VK_NUMLOCK), KeyUp(VK_NUMLOCK)};

TEST_F(TypingEngines, EveryEngineTypesTheLanguageIntoTheTarget) {
  ASSERT_EQ(VkKeyScanW(L'\u05E9'), -1) << "these cases expect a keyboard layout without Hebrew letters";
  const TypingCase cases[] = {
      {"{TAB 2}{ENTER}", true, Concat({Typed(VK_TAB, 9), Typed(VK_TAB, 9), Typed(VK_RETURN, 13)}), {}},
      {"+a", true, Concat({{KeyDown(VK_SHIFT)}, Typed('A', 'A'), {KeyUp(VK_SHIFT)}}), {}},
      {"A", true, Concat({{KeyDown(VK_SHIFT)}, Typed('A', 'A'), {KeyUp(VK_SHIFT)}}), {}},
      {"^a", true, Concat({{KeyDown(VK_CONTROL)}, Typed('A', 1), {KeyUp(VK_CONTROL)}}), {}},
      {"%{F4}", true, {SysKeyDown(VK_MENU), SysKeyDown(VK_F4), SysKeyUp(VK_F4), KeyUp(VK_MENU)}, {}},
      {"12.5", true, Concat({Typed('1', '1'), Typed('2', '2'), Typed(VK_DECIMAL, '.'), Typed('5', '5')}),
       Concat({Typed('1', '1'), Typed('2', '2'), Typed(VK_OEM_PERIOD, '.'), Typed('5', '5')})},
      {"12.5", false,
       Concat(
           {Typed('1', '1'), Typed('2', '2'), kNumLockPress, Typed(VK_DECIMAL, '.'), kNumLockPress, Typed('5', '5')}),
       Concat({Typed('1', '1'), Typed('2', '2'), Typed(VK_OEM_PERIOD, '.'), Typed('5', '5')})},
      {"{NUMPADENTER}", true, {KeyDown(VK_SEPARATOR), KeyUp(VK_SEPARATOR)}, {}, Compare::kKeysOnly},
      {"{ChequeNum}",
       true,
       {Char('C'), Char('h'), Char('e'), Char('q'), Char('u'), Char('e'), Char('N'), Char('u'), Char('m')},
       {},
       Compare::kCharsOnly},
      {"7+", true, Concat({Typed('7', '7'), {KeyDown(VK_SHIFT), KeyUp(VK_SHIFT)}}), {}},
      // Letters the layout lacks arrive as Unicode keyboard events, with no modifier held.
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 5",
       true,
       Concat({Typed(kVkPacket, 0x5E9), Typed(kVkPacket, 0x5DC), Typed(kVkPacket, 0x5D5), Typed(kVkPacket, 0x5DD),
               Typed(VK_SPACE, ' '), Typed('5', '5')}),
       {}},
      {"", true, {}, {}},
  };
  for (const TypingCase& c : cases) {
    for (Engine engine : {Engine::kSendInput, Engine::kKeybdEvent, Engine::kWaitMode}) {
      SetNumLock(c.numLockOn);
      ASSERT_EQ(IsNumLockOn(), c.numLockOn);
      Lines recorded = WithoutWaitMarker(target->Record([&] { TypeWith(engine, c.text); }));
      const Lines& expected = engine == Engine::kSendInput || c.byKeybdEvent.empty() ? c.bySendInput : c.byKeybdEvent;
      if (c.compare == Compare::kKeysOnly) {
        recorded = Only(recorded, "KEY");
      } else if (c.compare == Compare::kCharsOnly) {
        recorded = Only(recorded, "CHAR");
      }
      EXPECT_EQ(recorded, expected) << c.text << " by " << NameOf(engine) << ", NumLock " << c.numLockOn;
    }
  }
}

TEST_F(TypingEngines, SendInputLogsTheTextAndReportsAcceptance) {
  orvex::test_support::TraceCapture trace;
  bool accepted = false;
  const Lines recorded = target->Record([&] { accepted = VbSendInput("9.{TAB}"); });
  EXPECT_TRUE(accepted);
  EXPECT_TRUE(trace.Contains("VbSendInput => 9.{TAB}"));
  EXPECT_EQ(Only(recorded, "CHAR"), (Lines{Char('9'), Char('.'), Char('\t')}));

  bool emptyAccepted = false;
  EXPECT_TRUE(target->Record([&] { emptyAccepted = VbSendInput(""); }).empty());
  EXPECT_TRUE(emptyAccepted);
}

TEST_F(TypingEngines, AMalformedTextFailsEveryEngineBeforeAnyKey) {
  for (const char* text : {"ab{}cd", "{TAB 5000}", "12{TAB}{TAB 2000000000}"}) {
    for (Engine engine : {Engine::kSendInput, Engine::kKeybdEvent, Engine::kWaitMode}) {
      const Lines recorded = target->Record([&] {
        try {
          TypeWith(engine, text);
          ADD_FAILURE() << text << " accepted by " << NameOf(engine);
        } catch (const Error& error) {
          EXPECT_EQ(error.Number(), kErrInvalidArgument) << text << " by " << NameOf(engine);
        }
      });
      EXPECT_TRUE(recorded.empty()) << text << " by " << NameOf(engine);
    }
  }
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// Puts the keyboard as an operator leaves it, Caps Lock on (from off) and the given keys held
// down, and back as it was afterwards.
class OperatorKeyboard {
 public:
  OperatorKeyboard(KeysTargetProcess& target, bool capsLockOn, std::vector<WORD> held)
      : target_(target), capsLockOn_(capsLockOn), held_(std::move(held)) {
    Change(false);
  }
  // Waits until the engines read the keyboard as before: the restoring keys are sent as input
  // and take effect some time after SendInput returns.
  ~OperatorKeyboard() {
    Change(true);
    Probe();
    WaitUntil([] { return ReadsNeutral(); }, std::chrono::seconds(5));
  }
  OperatorKeyboard(const OperatorKeyboard&) = delete;
  OperatorKeyboard& operator=(const OperatorKeyboard&) = delete;

  // What the target receives for the keys A and 1 pressed without any care: the characters
  // tell how the target sees Caps Lock and the modifiers.
  Lines Probe() {
    const Lines recorded = target_.Record([] {
      for (WORD key : {WORD{'A'}, WORD{'1'}}) {
        SendKey(key, false);
        SendKey(key, true);
      }
    });
    return Characters(recorded);
  }

  static Lines Characters(const Lines& recorded) {
    Lines characters;
    for (const std::string& line : recorded) {
      if (line.starts_with("CHAR") || line.starts_with("SYSCHAR")) {
        characters.push_back(line);
      }
    }
    return characters;
  }

 private:
  void Change(bool back) {
    if (capsLockOn_) {
      SendKey(VK_CAPITAL, false);
      SendKey(VK_CAPITAL, true);
    }
    for (WORD key : held_) {
      SendKey(key, back);
    }
  }

  static bool ReadsNeutral() {
    if ((GetKeyState(VK_CAPITAL) & 1) != 0) {
      return false;
    }
    return std::ranges::none_of(std::initializer_list<int>{VK_SHIFT, VK_CONTROL, VK_MENU},
                                [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
  }

  KeysTargetProcess& target_;
  bool capsLockOn_;
  std::vector<WORD> held_;
};

TEST_F(TypingEngines, TheOperatorsCapsLockAndHeldModifiersChangeNoTypedCharacter) {
  const struct {
    const char* name;
    bool capsLockOn;
    std::vector<WORD> held;
  } cases[] = {
      {"Caps Lock on", true, {}},
      {"Shift held", false, {VK_LSHIFT}},
      {"Caps Lock on and Shift held", true, {VK_LSHIFT}},
      {"Ctrl held", false, {VK_LCONTROL}},
      {"Alt held", false, {VK_LMENU}},
      {"Ctrl and Alt held", true, {VK_LCONTROL, VK_LMENU}},
  };
  const Lines exact = {Char('A'), Char('b'), Char('1'), Char('!'), Char('\t')};
  const Lines neutral = OperatorKeyboard(*target, false, {}).Probe();
  ASSERT_EQ(neutral, (Lines{Char('a'), Char('1')}));
  for (const auto& c : cases) {
    for (Engine engine : {Engine::kSendInput, Engine::kKeybdEvent, Engine::kWaitMode}) {
      if (engine == Engine::kWaitMode && c.capsLockOn) {
        // Wait mode shares the target's key state while it types, and the system resets a shared
        // key state: the Caps Lock toggle afterwards is whatever the sharing left.
        continue;
      }
      OperatorKeyboard keyboard(*target, c.capsLockOn, c.held);
      const Lines before = keyboard.Probe();
      ASSERT_NE(before, neutral) << c.name;
      const Lines recorded = target->Record([&] { TypeWith(engine, "Ab1!{TAB}"); });
      EXPECT_EQ(OperatorKeyboard::Characters(recorded), exact) << c.name << " by " << NameOf(engine);
      EXPECT_EQ(keyboard.Probe(), before) << c.name << " by " << NameOf(engine);
    }
  }
}

TEST_F(TypingEngines, KeybdEventWaitsTheDelayBeforeEveryRepetition) {
  const struct {
    const char* text;
    int delay;
    bool yieldOnDelay;
    int waits;
    size_t keyDowns;
  } cases[] = {
      {"abc", 40, false, 3, 3},   {"abc", 40, true, 3, 3},   {"{TAB 3}", 40, false, 3, 3},
      {"+{F4}", 60, false, 1, 2}, {"{ab}", 60, false, 1, 2},
  };
  for (const auto& c : cases) {
    std::chrono::milliseconds elapsed{};
    const Lines recorded = target->Record([&] {
      const auto start = std::chrono::steady_clock::now();
      VbSendKeys(c.text, c.delay, c.yieldOnDelay);
      elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    });
    EXPECT_GE(elapsed.count(), c.waits * c.delay) << c.text;
    EXPECT_EQ(Only(recorded, "KEYDOWN").size() + Only(recorded, "SYSKEYDOWN").size(), c.keyDowns)
        << c.text << ::testing::PrintToString(recorded);
  }
}

TEST_F(TypingEngines, KeybdEventYieldsToWindowMessagesOnlyAroundARealDelay) {
  const struct {
    int delay;
    bool yieldOnDelay;
    bool messageHandled;
  } cases[] = {
      {0, true, false},
      {20, false, false},
      {20, true, true},
  };
  for (const auto& c : cases) {
    MSG pending;
    while (PeekMessageW(&pending, nullptr, WM_APP, WM_APP, PM_REMOVE)) {
    }
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    target->Record([&] { VbSendKeys("a", c.delay, c.yieldOnDelay); });
    EXPECT_EQ(!PeekMessageW(&pending, nullptr, WM_APP, WM_APP, PM_REMOVE), c.messageHandled)
        << c.delay << " " << c.yieldOnDelay;
  }
}

TEST(WaitMode, ReturnsOnlyWhenTheTargetHasHandledEveryKey) {
  KeysTargetOptions options;
  options.title = L"Orvex busy target";
  options.slowMs = 15;  // a busy program: 30 messages take about half a second
  KeysTargetProcess busy(options);
  ASSERT_TRUE(busy.Ready());
  ASSERT_TRUE(busy.BringToForeground());
  const std::string text = "1234{TAB}5678{ENTER}";
  const Lines expected =
      Concat({Typed('1', '1'), Typed('2', '2'), Typed('3', '3'), Typed('4', '4'), Typed(VK_TAB, 9), Typed('5', '5'),
              Typed('6', '6'), Typed('7', '7'), Typed('8', '8'), Typed(VK_RETURN, 13)});

  SendKeysAndWait(text);
  EXPECT_EQ(WithoutWaitMarker(busy.Lines()), expected);

  // The SendInput engine, by contrast, returns while the target is still busy.
  const size_t before = busy.Lines().size();
  const Lines rest = busy.Record([&] {
    VbSendInput(text);
    EXPECT_LT(busy.Lines().size() - before, expected.size());
  });
  EXPECT_EQ(WithoutWaitMarker(rest), expected);
}

}  // namespace
}  // namespace orvex
