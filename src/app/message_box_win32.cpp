#include "app/message_box_win32.h"

#include "base/wide_win32.h"
#include "keys/engines_win32.h"

namespace orvex {
namespace {

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return MB_ICONHAND;
    case MessageIcon::Exclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::Question:
      return MB_ICONQUESTION;
    case MessageIcon::Information:
      return MB_ICONASTERISK;
    case MessageIcon::None:
      break;
  }
  return 0;
}

UINT ButtonsFlag(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return MB_OKCANCEL;
    case MessageButtons::YesNo:
      return MB_YESNO;
    case MessageButtons::YesNoCancel:
      return MB_YESNOCANCEL;
    case MessageButtons::RetryCancel:
      return MB_RETRYCANCEL;
    case MessageButtons::Ok:
      break;
  }
  return MB_OK;
}

MessageAnswer AnswerOf(int result) {
  switch (result) {
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    case IDRETRY:
      return MessageAnswer::Retry;
    case IDCANCEL:
      return MessageAnswer::Cancel;
    default:
      return MessageAnswer::Ok;
  }
}

// The process's default layout right to left for the life of the object.
class RightToLeftWindows {
 public:
  RightToLeftWindows() {
    GetProcessDefaultLayout(&previous_);
    SetProcessDefaultLayout(LAYOUT_RTL);
  }
  ~RightToLeftWindows() { SetProcessDefaultLayout(previous_); }
  RightToLeftWindows(const RightToLeftWindows&) = delete;
  RightToLeftWindows& operator=(const RightToLeftWindows&) = delete;

 private:
  DWORD previous_ = 0;
};

}  // namespace

UINT MessageBoxStyle(const Message& message) {
  const UINT topmost = message.foreground ? MB_TOPMOST : 0;
  return IconFlag(message.icon) | ButtonsFlag(message.buttons) | MB_RTLREADING | MB_RIGHT | MB_SETFOREGROUND | topmost;
}

MessageAnswer Win32MessageBoxes::Show(const Message& message) {
  // MB_RTLREADING lays a box out right to left only on Hebrew and Arabic systems; a box created
  // while the process's default layout is right to left is mirrored on every system.
  const RightToLeftWindows rightToLeft;
  const int result =
      MessageBoxW(nullptr, ToWide(message.text).c_str(), ToWide(message.title).c_str(),
                  MessageBoxStyle(message) | (modality_ == BoxModality::kThread ? MB_TASKMODAL : 0));
  return AnswerOf(result);
}

MessageAnswer AfterTypingMessageBoxes::Show(const Message& message) {
  WaitUntilTypedKeysAreTaken();
  return boxes_.Show(message);
}

}  // namespace orvex
