// Shows one of the operator dialogs with a partly read cheque, or the manual debug window, to look
// at it as the operator does:
//   show_dialogs.exe data|full|prompt|debug [picture] [--double]
// "full" shows the picture (a JPEG file); "--double" resizes the full dialog to twice its size once
// it is on the screen. Prints what the operator confirmed.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <thread>

#include "app/debug_window_win32.h"
#include "app/message_box_win32.h"
#include "app/window_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "dialogs/cheque_dialogs_win32.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/input_box_win32.h"

namespace {

const orvex::ChequeDialogRequest kPartlyRead{{"00012?4", "12", "3?5", "000123456"},
                                             "הצ'ק לא תקין, קוד שגיאה 3. סמן תיבה זו כדי להתעלם."};

// Waits for the full dialog and makes it twice as wide and twice as high.
void DoubleTheFullDialog() {
  const std::wstring caption = orvex::ToWide(orvex::kChequeFullCaption);
  HWND dialog = nullptr;
  if (orvex::WaitUntil([&] { return (dialog = FindWindowW(L"#32770", caption.c_str())) != nullptr; },
                       std::chrono::seconds(20), std::chrono::milliseconds(50))) {
    RECT bounds;
    GetWindowRect(dialog, &bounds);
    SetWindowPos(dialog, nullptr, 0, 0, 2 * (bounds.right - bounds.left), 2 * (bounds.bottom - bounds.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Print(const std::optional<orvex::ChequeCompletion>& entry) {
  if (!entry) {
    std::printf("cancelled\n");
    return;
  }
  std::printf("MICR %s\nAmount %s\nChequeDate %s\nVerifyCode %d\n", entry->micr.c_str(), entry->amount.c_str(),
              entry->chequeDate.c_str(), entry->ignoreVerifyFail ? 1 : 0);
}

}  // namespace

int main() {
  orvex::InitCommonControls6();
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::string kind = argc > 1 ? orvex::FromWide(argv[1]) : "full";
  const std::string picture = argc > 2 ? orvex::FromWide(argv[2]) : "netpbm\\tmp-preview.jpg";
  const bool doubled = argc > 3 && orvex::FromWide(argv[3]) == "--double";
  LocalFree(argv);

  if (kind == "prompt") {
    const std::string answer = orvex::Win32OperatorPrompt().Ask(orvex::kUserPromptTitle, orvex::kFrontImagePrompt);
    std::printf("answer [%s]\n", answer.c_str());
  } else if (kind == "debug") {
    const orvex::ManualDebugEntries entries = orvex::ManualDebugWindow().Ask(nullptr);
    std::printf("bank [%s] branch [%s] account [%s]\n", entries.bankNum.c_str(), entries.branchNum.c_str(),
                entries.accountNum.c_str());
  } else if (kind == "data") {
    Print(orvex::ShowChequeData(kPartlyRead, 32));
  } else {
    std::thread resizer;
    if (doubled) {
      resizer = std::thread(DoubleTheFullDialog);
    }
    orvex::SystemClock clock;
    orvex::Win32MessageBoxes messages;
    Print(orvex::ShowChequeFull(kPartlyRead, picture, 32, clock, messages));
    if (resizer.joinable()) {
      resizer.join();
    }
  }
  return 0;
}
