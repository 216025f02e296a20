// The operator dialogs as the operator meets them, under Wine: the dialog runs modally on the
// test's thread while an "operator" thread finds it, types into it through SendInput and presses
// its buttons.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <future>

#include "app/message_box_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "config/ini_file.h"
#include "dialogs/cheque_dialogs_win32.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/dialog_window_win32.h"
#include "dialogs/input_box_win32.h"
#include "interpret/cheque_line.h"
#include "keys/engines_win32.h"
#include "keys_target_client.h"
#include "support/fake_clock.h"
#include "support/temp_folder.h"
#include "support/window_layout_win32.h"

namespace orvex {
namespace {

constexpr auto kFindLimit = std::chrono::seconds(10);
const std::string kVerifyCaption = "הצ'ק לא תקין, קוד שגיאה 3. סמן תיבה זו כדי להתעלם.";

// The dialog window with this caption once it is on the screen as the foreground window (keys
// typed reach it).
HWND ForegroundDialog(std::string_view caption) {
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        dialog = FindWindowW(L"#32770", ToWide(caption).c_str());
        return dialog && IsWindowVisible(dialog) && GetForegroundWindow() == dialog;
      },
      kFindLimit);
  return dialog;
}

HWND ChildWithText(HWND dialog, std::string_view text) {
  return FindWindowExW(dialog, nullptr, nullptr, ToWide(text).c_str());
}

// Whether the window goes (keys that close a window are typed without waiting for them to be
// taken: the window is gone before the wait could see it).
bool Closes(HWND window) {
  return WaitUntil([&] { return !IsWindow(window); }, kFindLimit);
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

BOOL CALLBACK CloseWindow(HWND window, LPARAM) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Runs the operator's part on a thread of its own while `show` runs the dialog on this one. When
// the operator's part fails, every window of this thread is closed, so that no test waits forever.
template <typename Show, typename Operate>
auto WithOperator(Show show, Operate operate) {
  const DWORD dialogThread = GetCurrentThreadId();
  auto operatorPart = std::async(std::launch::async, [&] {
    if (!operate()) {
      ADD_FAILURE() << "the operator could not finish";
      EnumThreadWindows(dialogThread, CloseWindow, 0);
    }
  });
  auto result = show();
  operatorPart.get();
  return result;
}

TEST(ChequeDataDialog, TheOperatorCompletesAPartlyReadChequeThatIsThenTyped) {
  const ChequeDialogRequest request{{"0001234", "1?", "34?67", "000123456"}, ""};
  const auto entry = WithOperator([&] { return ShowChequeData(request, 32); },
                                  [] {
                                    const HWND dialog = ForegroundDialog(kChequeDataCaption);
                                    if (!dialog) {
                                      return false;
                                    }
                                    // Each field opens with its unread digit selected; the space
                                    // (TabChar) moves on and stays in the bank field.
                                    SendKeysAndWait("{TAB}2 5");
                                    return VbSendInput("{ENTER}") && Closes(dialog);
                                    return true;
                                  });
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->micr, "A0001234 C12 A34567E 000123456C");
  EXPECT_FALSE(entry->ignoreVerifyFail);
  EXPECT_EQ(CaptureChequeFields(entry->micr), (ChequeFields{"0001234", "12", "34567", "000123456"}));

  test_support::KeysTargetOptions options;
  options.edit = true;
  test_support::KeysTargetProcess target(options);
  ASSERT_TRUE(target.BringToForeground());
  ASSERT_TRUE(VbSendInput(entry->micr));
  EXPECT_TRUE(WaitUntil([&] { return target.EditText() == L"A0001234 C12 A34567E 000123456C"; }, kFindLimit))
      << FromWide(target.EditText());
}

TEST(ChequeDataDialog, TheIgnoreBoxShowsTheCallersCaptionAndIsHandedBack) {
  const ChequeDialogRequest request{{"0001234", "12", "34567", "000123456"}, kVerifyCaption};
  const auto entry = WithOperator([&] { return ShowChequeData(request, 32); },
                                  [] {
                                    const HWND dialog = ForegroundDialog(kChequeDataCaption);
                                    const HWND box = ChildWithText(dialog, kVerifyCaption);
                                    if (!box || !IsWindowVisible(box)) {
                                      return false;
                                    }
                                    Click(box);
                                    Click(GetDlgItem(dialog, IDOK));
                                    return Closes(dialog);
                                  });
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->micr, "A0001234 C12A34567E 000123456C");
  EXPECT_TRUE(entry->ignoreVerifyFail);
}

// Answers the invalid-date message, checking its texts; false when it does not come.
bool AnswerInvalidDate() {
  const HWND box = ForegroundDialog(kInvalidDateTitle);
  if (!box || !ChildWithText(box, kInvalidDateText)) {
    return false;
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return Closes(box);
}

// Whether the picture control shows the cheque: its middle has the cheque's pale green paper
// (240, 244, 230), not the dialog's grey.
bool ShowsTheChequePicture(HWND dialog) {
  const HWND picture = FindWindowExW(dialog, nullptr, L"Static", L"");
  RECT area;
  GetWindowRect(picture, &area);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
  const HDC dc = GetDC(dialog);
  const COLORREF middle = GetPixel(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
  ReleaseDC(dialog, dc);
  const auto about = [](int value, int expected) { return value > expected - 6 && value < expected + 6; };
  return about(GetRValue(middle), 240) && about(GetGValue(middle), 244) && about(GetBValue(middle), 230);
}

class ChequeFullDialog : public ::testing::Test {
 protected:
  std::optional<ChequeCompletion> Show(uint8_t tabChar = 32) {
    return ShowChequeFull(request_, "data\\cheque_preview.jpg", tabChar, clock_, messages_);
  }

  const ChequeDialogRequest request_{{"0001234", "12", "34567", "000123456"}, kVerifyCaption};
  test_support::FakeClock clock_;  // 5 March 2026
  Win32MessageBoxes messages_;
};

TEST_F(ChequeFullDialog, AnInvalidDateIsReportedAndTheCorrectedChequeConfirmed) {
  bool pictureShown = false;
  const auto entry = WithOperator([&] { return Show(); },
                                  [&] {
                                    const HWND dialog = ForegroundDialog(kChequeFullCaption);
                                    if (!dialog) {
                                      return false;
                                    }
                                    pictureShown = WaitUntil([&] { return ShowsTheChequePicture(dialog); }, kFindLimit);
                                    // The amount has the focus; the date box opens on the day.
                                    SendKeysAndWait("12ץ50{TAB}{DEL}");
                                    VbSendInput("{ENTER}");  // the message box takes the focus
                                    if (!AnswerInvalidDate() || !IsWindow(dialog)) {
                                      return false;
                                    }
                                    // Back in the date box, which types over its digits.
                                    SendKeysAndWait("150326");
                                    Click(ChildWithText(dialog, kVerifyCaption));
                                    return VbSendInput("{ENTER}") && Closes(dialog);
                                  });
  EXPECT_TRUE(pictureShown);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(*entry, (ChequeCompletion{"A0001234 C12A34567E 000123456C", "12.50", "15/03/2026", true}));
}

TEST_F(ChequeFullDialog, WithEnterAsTabCharEnterWalksTheFieldsToOk) {
  const auto entry = WithOperator([&] { return Show(13); },
                                  [] {
                                    const HWND dialog = ForegroundDialog(kChequeFullCaption);
                                    SendKeysAndWait("7{ENTER}{ENTER}");  // from the amount to the date, to OK
                                    return dialog && VbSendInput("{ENTER}") && Closes(dialog);
                                  });
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->amount, "7");
  EXPECT_EQ(entry->chequeDate, "05/03/2026");
}

TEST_F(ChequeFullDialog, CancelEscapeAndTheCloseBoxAllCancel) {
  const struct {
    const char* how;
    void (*cancel)(HWND dialog);
  } cases[] = {
      {"Cancel", [](HWND dialog) { Click(GetDlgItem(dialog, IDCANCEL)); }},
      {"Escape", [](HWND) { VbSendInput("5{ESC}"); }},
      {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& c : cases) {
    const auto entry = WithOperator([&] { return Show(); },
                                    [&] {
                                      const HWND dialog = ForegroundDialog(kChequeFullCaption);
                                      if (!dialog) {
                                        return false;
                                      }
                                      c.cancel(dialog);
                                      return Closes(dialog);
                                    });
    EXPECT_EQ(entry, std::nullopt) << c.how;
  }
}

TEST(FileNamePrompt, TheOperatorsAnswerNamesTheImageAndCancelSavesNothing) {
  const struct {
    const char* keys;  // typed into the prompt; empty: Cancel is pressed
    const char* name;
  } cases[] = {
      {"cheque7{ENTER}", "cheque7.jpg"},
      {"a:b?c{ENTER}", "a_b_c.jpg"},
      {"", "<<DONTSAVE>>.jpg"},
  };
  for (const auto& c : cases) {
    Win32OperatorPrompt prompt;
    UserFileNameFiller filler(prompt);
    std::string promptShown;
    const std::string name = WithOperator([&] { return filler.Fill("{User}.jpg", ImageSide::kFront); },
                                          [&] {
                                            const HWND box = ForegroundDialog(kUserPromptTitle);
                                            if (!box) {
                                              return false;
                                            }
                                            promptShown = ChildWithText(box, kFrontImagePrompt) ? "yes" : "no";
                                            if (*c.keys) {
                                              VbSendInput(c.keys);
                                            } else {
                                              Click(GetDlgItem(box, IDCANCEL));
                                            }
                                            return Closes(box);
                                          });
    EXPECT_EQ(name, c.name) << c.keys;
    EXPECT_EQ(promptShown, "yes") << c.keys;
  }
}

// Lays the dialog out at 150 % and back again as Windows does when it moves between monitors:
// it takes the suggested rectangle each time and no text is cut; back at the start its controls
// are where they were. A resizable dialog keeps its controls in proportion (AutoResize).
bool LaysOutAtEachDpi(HWND dialog, bool keepsProportions) {
  using namespace test_support;
  const UINT start = WindowDpi(dialog);
  const std::vector<RECT> atStart = ChildBounds(dialog);
  EXPECT_EQ(ControlsCuttingTheirText(dialog, start), std::vector<std::string>{}) << start << " DPI";
  UINT current = start;
  for (const UINT dpi : {start * 3 / 2, start}) {
    const RECT suggested = SuggestedBounds(dialog, current, dpi);
    SendDpiChanged(dialog, dpi, suggested);
    current = dpi;
    const RECT bounds = WindowBounds(dialog);
    EXPECT_TRUE(EqualRect(&suggested, &bounds)) << dpi << " DPI";
    EXPECT_EQ(ControlsCuttingTheirText(dialog, dpi), std::vector<std::string>{}) << dpi << " DPI";
    if (keepsProportions) {
      EXPECT_TRUE(ScaledAlike(atStart, ChildBounds(dialog), static_cast<double>(dpi) / start)) << dpi << " DPI";
    }
  }
  EXPECT_TRUE(ScaledAlike(atStart, ChildBounds(dialog), 1.0)) << "back at " << start << " DPI";
  Click(GetDlgItem(dialog, IDCANCEL));
  return Closes(dialog);
}

TEST(DialogsAtEachDpi, TakeTheSuggestedRectangleAndCutNoText) {
  const ChequeDialogRequest request{{"00012?4", "12", "3?5", "000123456"}, kVerifyCaption};
  test_support::FakeClock clock;
  Win32MessageBoxes messages;
  const struct {
    std::string_view caption;
    bool resizable;
    std::function<void()> show;
  } cases[] = {
      {kChequeDataCaption, false, [&] { ShowChequeData(request, 32); }},
      {kChequeFullCaption, true, [&] { ShowChequeFull(request, "data\\cheque_preview.jpg", 32, clock, messages); }},
      {kUserPromptTitle, false, [] { Win32OperatorPrompt().Ask(kUserPromptTitle, kFrontImagePrompt); }},
  };
  for (const auto& c : cases) {
    WithOperator(
        [&] {
          c.show();
          return 0;
        },
        [&] {
          const HWND dialog = ForegroundDialog(c.caption);
          return dialog && LaysOutAtEachDpi(dialog, c.resizable);
        });
  }
}

// A window placement stored in twips means the same size at every DPI: 1440 twips to the inch.
TEST(DialogFormPlacement, IsStoredInTwipsAtEveryDpiAndRestoredToTheSamePixels) {
  const struct {
    UINT dpi;
    const char* left;
    const char* top;
    const char* width;
    const char* height;
  } cases[] = {
      {96, "1500", "1200", "4500", "3000"},
      {144, "1000", "800", "3000", "2000"},
      {192, "750", "600", "2250", "1500"},
  };
  const RECT pixels{100, 80, 400, 280};  // 300 x 200 pixels at (100, 80)
  test_support::TempFolder folder;
  for (const auto& c : cases) {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, pixels.left, pixels.top, pixels.right - pixels.left,
                        pixels.bottom - pixels.top, nullptr, nullptr, nullptr, nullptr);
    const std::vector<std::pair<int, std::string_view>> names;
    DialogForm form(window, names, c.dpi);
    cInifile ini;
    ini.SetPath(folder.File("placement.ini"));
    ini.SetSection("frmChequeFull");
    ini.SaveFormPosition(form);
    for (const auto& [key, expected] :
         {std::pair{"Left", c.left}, {"Top", c.top}, {"Width", c.width}, {"Height", c.height}}) {
      ini.SetKey(key);
      EXPECT_EQ(ini.Value(), expected) << key << " at " << c.dpi << " DPI";
    }
    MoveWindow(window, 300, 300, 100, 100, FALSE);
    ini.LoadFormPosition(form, 0, 0);
    const RECT restored = test_support::WindowBounds(window);
    EXPECT_TRUE(EqualRect(&restored, &pixels)) << c.dpi << " DPI";
    DestroyWindow(window);
  }
}

}  // namespace
}  // namespace orvex
