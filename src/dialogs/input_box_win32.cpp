#include "dialogs/input_box_win32.h"

#include "dialogs/dialog_texts.h"
#include "dialogs/dialog_window_win32.h"

namespace orvex {
namespace {

enum ControlId : int { kIdPrompt = 100, kIdAnswer = 101 };

class InputBox final : public DialogWindow {
 public:
  InputBox(std::string_view title, std::string_view prompt) : title_(title), prompt_(prompt) {}

  std::string Ask() {
    RunModal({title_, {220, 62}, false});
    return answer_;
  }

 private:
  void OnInit() override {
    AddControls({
        {kIdPrompt, "lblPrompt", L"STATIC", prompt_, SS_RIGHT | SS_NOPREFIX, {7, 7, 150, 24}},
        {kIdAnswer, "txtAnswer", L"EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {7, 43, 206, 12}},
        {IDOK, "cmdOK", L"BUTTON", kOkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, {163, 7, 50, 14}},
        {IDCANCEL, "cmdCancel", L"BUTTON", kCancelCaption, WS_TABSTOP | BS_PUSHBUTTON, {163, 24, 50, 14}},
    });
    KeepOnTop();
    FocusControl(kIdAnswer);
  }

  void OnCommand(int id, int) override {
    if (id == IDOK) {
      answer_ = ControlText(kIdAnswer);
      EndModal(IDOK);
    } else if (id == IDCANCEL) {
      EndModal(IDCANCEL);
    }
  }

  std::string_view title_;
  std::string_view prompt_;
  std::string answer_;
};

}  // namespace

std::string Win32OperatorPrompt::Ask(std::string_view title, std::string_view prompt) {
  return InputBox(title, prompt).Ask();
}

}  // namespace orvex
