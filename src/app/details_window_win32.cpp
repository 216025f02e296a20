#include "app/details_window_win32.h"

#include <commctrl.h>

#include "app/configuration_notes_view.h"
#include "app/details.h"
#include "app/message_box_win32.h"
#include "base/error.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr wchar_t kClassName[] = L"OrvexDetails";
enum ControlId {
  kProfilesId = 100,
  kReaderDataId,
  kCopyId,
  kLastDataId,
  kManualDataId,
  kTryId,
  kMakerLinkId,
  kSupportLinkId,
  kNotesLinkId
};

// Control positions in a mirrored window: x counts from the right edge.
constexpr int kClientWidth = 460, kClientHeight = 440;

// Makes "\n" line breaks into the CR LF an edit box needs.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      out += '\r';
    }
    out += text[i];
  }
  return out;
}

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) {
    return false;
  }
  EmptyClipboard();
  const std::wstring wide = ToWide(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  return true;
}

void DetailsWindow::EnsureCreated() {
  if (Exists()) {
    return;
  }
  RECT frame{0, 0, kClientWidth, kClientHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_LAYOUTRTL);
  Create(kClassName, {.title = kDetailsTexts.caption,
                      .style = style,
                      .exStyle = WS_EX_LAYOUTRTL,
                      .bounds = {CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top}});
  AddControls();
}

void DetailsWindow::AddControls() {
  const HWND window = Handle();
  const DWORD label = SS_LEFT;
  AddControl(window, L"STATIC", kDetailsTexts.profileLabel, label, {12, 14, 110, 20}, 0);
  profiles_ =
      AddControl(window, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {125, 10, 320, 200}, kProfilesId);
  AppendProfile(std::string(kDetailsTexts.noProfiles));
  AddControl(window, L"STATIC", kDetailsTexts.readerDataLabel, label, {12, 46, 300, 20}, 0);
  readerData_ =
      AddControl(window, L"EDIT", WithCrLf(readerDataText_), ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                 {12, 68, 433, 90}, kReaderDataId, WS_EX_CLIENTEDGE);
  MakeLeftToRight(readerData_);
  AddControl(window, L"BUTTON", kDetailsTexts.copyButton, BS_PUSHBUTTON | WS_TABSTOP, {12, 164, 200, 26}, kCopyId);
  AddControl(window, L"STATIC", kDetailsTexts.lastDataLabel, label, {12, 200, 300, 20}, 0);
  lastDataSent_ = AddControl(window, L"EDIT", "", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                             {12, 222, 433, 90}, kLastDataId, WS_EX_CLIENTEDGE);
  MakeLeftToRight(lastDataSent_);
  manualData_ = AddControl(window, L"EDIT", kDetailsTexts.manualData, ES_AUTOHSCROLL | WS_TABSTOP, {12, 326, 310, 24},
                           kManualDataId, WS_EX_CLIENTEDGE);
  MakeLeftToRight(manualData_);
  AddControl(window, L"BUTTON", kDetailsTexts.tryButton, BS_PUSHBUTTON | WS_TABSTOP, {330, 325, 115, 26}, kTryId);
  AddControl(window, L"STATIC", "Orvex", SS_LEFT, {12, 372, 120, 40}, 0, 0, {20, true});
  AddControl(window, L"STATIC", kDetailsTexts.makerLink, SS_NOTIFY | SS_LEFT, {150, 372, 140, 20}, kMakerLinkId);
  AddControl(window, L"STATIC", kDetailsTexts.supportLink, SS_NOTIFY | SS_LEFT, {150, 396, 200, 20}, kSupportLinkId);
  notesLink_ = AddControl(window, L"STATIC", "", SS_NOTIFY | SS_LEFT, {300, 372, 145, 20}, kNotesLinkId);
  ShowNotesLink();
}

void DetailsWindow::SetConfigurationNotes(const std::vector<std::string>& notes) {
  notes_ = notes;
  if (Exists()) {
    ShowNotesLink();
  }
}

void DetailsWindow::ShowNotesLink() {
  SetWindowTextUtf8(notesLink_, ConfigurationNotesLinkText(notes_.size()));
  ShowWindow(notesLink_, notes_.empty() ? SW_HIDE : SW_SHOW);
}

void DetailsWindow::ClearProfiles() {
  SendMessageW(profiles_, CB_RESETCONTENT, 0, 0);
}

void DetailsWindow::AppendProfile(const std::string& name) {
  SendMessageW(profiles_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
}

void DetailsWindow::SelectProfile(int32_t position) {
  if (!Exists()) {
    return;
  }
  if (SendMessageW(profiles_, CB_SETCURSEL, static_cast<WPARAM>(position), 0) == CB_ERR) {
    throw Error(kErrInvalidArgument, "Invalid property value");
  }
}

void DetailsWindow::SetLastDataSent(const std::string& text) {
  if (Exists()) {
    SetWindowTextUtf8(lastDataSent_, WithCrLf(text));
  }
}

void DetailsWindow::SetReaderData(const std::string& text) {
  readerDataText_ = text;
  if (Exists()) {
    SetWindowTextUtf8(readerData_, WithCrLf(text));
  }
}

void DetailsWindow::BringUp(HWND owner) {
  SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  ShowWindow(Handle(), SW_RESTORE);
  ShowWindow(Handle(), SW_SHOW);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
  SetFocus(manualData_);
}

void DetailsWindow::CopyReaderData() {
  if (!PutTextOnClipboard(Handle(), WindowText(readerData_))) {
    WriteDebugLog("The clipboard cannot be opened");
  }
}

void DetailsWindow::OnCommand(int id, int notification) {
  switch (id) {
    case kProfilesId:
      if (notification == CBN_SELCHANGE && parent_) {
        const auto position = static_cast<int32_t>(SendMessageW(profiles_, CB_GETCURSEL, 0, 0));
        RunSkippingError([&] { parent_->NewProfileChosen(position + 1); });
      }
      break;
    case kCopyId:
      CopyReaderData();
      break;
    case kTryId:
      if (parent_) {
        parent_->TryManualData([this] { return WindowText(manualData_); });
      }
      break;
    case kMakerLinkId:
      OpenWebPage(Handle(), kMakerAddress);
      break;
    case kSupportLinkId:
      OpenWebPage(Handle(), kSupportAddress);
      break;
    case kNotesLinkId:
      Win32MessageBoxes(BoxModality::kThread).Show(ConfigurationNotesMessage(notes_));
      break;
    default:
      break;
  }
}

LRESULT DetailsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        ShowWindow(Handle(), SW_HIDE);
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == kMakerLinkId || id == kSupportLinkId || id == kNotesLinkId) {
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 200));
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return OwnedWindow::HandleMessage(message, wParam, lParam);
    }
    default:
      return OwnedWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvex
