#include "app/debug_window_win32.h"

#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr wchar_t kClassName[] = L"OrvexManualDebug";
enum ControlId { kBankId = 200, kBranchId, kAccountId, kContId, kExitId };

}  // namespace

HWND ManualDebugWindow::AddCombo(int top, std::string_view label, std::initializer_list<std::string_view> list,
                                 int id) {
  AddControl(Handle(), L"STATIC", label, SS_LEFT, {12, top + 3, 70, 20}, 0);
  const HWND combo =
      AddControl(Handle(), L"COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, {90, top, 160, 150}, id);
  for (std::string_view entry : list) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(entry).c_str()));
  }
  SetWindowTextW(combo, L"Combo1");
  return combo;
}

void ManualDebugWindow::EnsureCreated() {
  if (Exists()) {
    return;
  }
  RECT frame{0, 0, 270, 220};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  Create(kClassName, {.title = "Debug",
                      .style = style,
                      .bounds = {CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top}});
  AddControl(Handle(), L"STATIC", "Debug Mode", SS_CENTER, {12, 8, 246, 34}, 0, 0, {18, true});
  bank_ = AddCombo(52, "Bank", {"10", "54"}, kBankId);
  branch_ = AddCombo(84, "Branch", {"678", "601", "053"}, kBranchId);
  account_ = AddCombo(116, "Account", {"12345678", "20567341", "105782001", "330456782"}, kAccountId);
  AddControl(Handle(), L"BUTTON", "Cont", BS_DEFPUSHBUTTON | WS_TABSTOP, {20, 168, 100, 28}, kContId);
  AddControl(Handle(), L"BUTTON", "Exit", BS_PUSHBUTTON | WS_TABSTOP, {150, 168, 100, 28}, kExitId);
}

ManualDebugEntries ManualDebugWindow::Ask(HWND owner) {
  EnsureCreated();
  SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  if (owner) {
    EnableWindow(owner, FALSE);
  }
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  waiting_ = true;
  MSG message;
  while (waiting_ && Exists() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(Handle(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (owner) {
    EnableWindow(owner, TRUE);
  }
  return {WindowText(bank_), WindowText(branch_), WindowText(account_)};
}

LRESULT ManualDebugWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kContId) {
        ShowWindow(Handle(), SW_HIDE);
        waiting_ = false;
      } else if (LOWORD(wParam) == kExitId) {
        ExitProcess(0);
      }
      return 0;
    case WM_CLOSE:  // the close box continues as "Cont" does: the window only hides
      ShowWindow(Handle(), SW_HIDE);
      waiting_ = false;
      return 0;
    default:
      return OwnedWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvex
