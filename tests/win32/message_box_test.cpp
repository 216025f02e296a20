// The system's message boxes as the operator sees them: a real MessageBoxW window, found, read and
// answered from a second thread while the first waits for the answer.

#include "app/message_box_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <vector>

#include "base/wait.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

struct SeenBox {
  std::string caption;
  std::vector<std::string> texts;  // of the child windows
  LONG_PTR exStyle = 0;
};

BOOL CALLBACK CollectChildText(HWND child, LPARAM param) {
  wchar_t text[512];
  const int length = GetWindowTextW(child, text, 512);
  reinterpret_cast<SeenBox*>(param)->texts.push_back(FromWide(std::wstring_view(text, length)));
  return TRUE;
}

// Waits for the message box with the given caption, reads it, and presses the given button.
SeenBox AnswerBox(const std::string& caption, int button) {
  SeenBox seen;
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindWindowW(L"#32770", ToWide(caption).c_str())) != nullptr; },
                 std::chrono::seconds(10))) {
    return seen;
  }
  wchar_t text[512];
  seen.caption = FromWide(std::wstring_view(text, GetWindowTextW(box, text, 512)));
  seen.exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
  EnumChildWindows(box, CollectChildText, reinterpret_cast<LPARAM>(&seen));
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return seen;
}

TEST(SystemMessageBox, StyleIsRightToLeftWithTheMessagesIconAndButtons) {
  const struct {
    MessageIcon icon;
    MessageButtons buttons;
    UINT expected;
  } cases[] = {
      {MessageIcon::Exclamation, MessageButtons::Ok, MB_ICONEXCLAMATION | MB_OK},
      {MessageIcon::Critical, MessageButtons::Ok, MB_ICONHAND | MB_OK},
      {MessageIcon::Question, MessageButtons::YesNo, MB_ICONQUESTION | MB_YESNO},
      {MessageIcon::Information, MessageButtons::OkCancel, MB_ICONASTERISK | MB_OKCANCEL},
      {MessageIcon::None, MessageButtons::RetryCancel, MB_RETRYCANCEL},
      {MessageIcon::None, MessageButtons::YesNoCancel, MB_YESNOCANCEL},
  };
  for (const auto& c : cases) {
    const UINT style = MessageBoxStyle(Message{.text = "x", .icon = c.icon, .buttons = c.buttons});
    EXPECT_EQ(style & (MB_ICONMASK | MB_TYPEMASK), c.expected);
    EXPECT_EQ(style & (MB_RTLREADING | MB_RIGHT), static_cast<UINT>(MB_RTLREADING | MB_RIGHT));
  }
}

TEST(SystemMessageBox, ShowsHebrewTitleAndTextRightToLeftAndReturnsTheAnswer) {
  const struct {
    std::string_view title;
    MessageButtons buttons;
    int pressed;
    MessageAnswer expected;
  } cases[] = {
      {kTitleInformation, MessageButtons::YesNo, IDNO, MessageAnswer::No},
      {kTitleInformation, MessageButtons::YesNo, IDYES, MessageAnswer::Yes},
      {kTitleProgramError, MessageButtons::Ok, IDOK, MessageAnswer::Ok},
      {kTitleReaderError, MessageButtons::RetryCancel, IDCANCEL, MessageAnswer::Cancel},
  };
  for (const auto& c : cases) {
    const std::string caption(c.title);
    const Message message{caption, WithSupportLine(ErrorText("הקורא אינו מחובר")), MessageIcon::Exclamation, c.buttons};
    auto answerer = std::async(std::launch::async, AnswerBox, caption, c.pressed);
    const MessageAnswer answer = Win32MessageBoxes().Show(message);
    const SeenBox seen = answerer.get();
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_TRUE(seen.exStyle & WS_EX_LAYOUTRTL) << "the box is laid out right to left";
    EXPECT_NE(std::find(seen.texts.begin(), seen.texts.end(), message.text), seen.texts.end());
  }
}

}  // namespace
}  // namespace orvex
