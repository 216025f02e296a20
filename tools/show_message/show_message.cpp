// Shows one of the system's message boxes, to look at it as the operator does:
//   show_message.exe [information|program|reader] [text]
// Without arguments: a reader error with the support line. Prints the operator's answer.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/message_box_win32.h"
#include "base/wide_win32.h"

namespace {

std::string TitleNamed(const std::string& name) {
  if (name == "program") {
    return std::string(orvex::kTitleProgramError);
  }
  if (name == "information") {
    return std::string(orvex::kTitleInformation);
  }
  return std::string(orvex::kTitleReaderError);
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::string kind = argc > 1 ? orvex::FromWide(argv[1]) : "reader";
  const std::string text =
      argc > 2 ? orvex::FromWide(argv[2]) : orvex::WithSupportLine(orvex::ErrorText("לא ניתן להתחבר לקורא הצ'קים."));
  LocalFree(argv);
  const orvex::Message message{TitleNamed(kind), text, orvex::MessageIcon::Exclamation, orvex::MessageButtons::Ok};
  const orvex::MessageAnswer answer = orvex::Win32MessageBoxes().Show(message);
  std::printf("answer %d\n", static_cast<int>(answer));
  return 0;
}
