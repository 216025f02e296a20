#include "app/main_window_win32.h"

#include "app/message_box_win32.h"
#include "base/error.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "keys/engines_win32.h"

namespace orvex {
namespace {

// Builds the pop-up menu from its items; the caller destroys it.
HMENU BuildMenu(const std::vector<TrayMenuItem>& items) {
  const HMENU menu = CreatePopupMenu();
  for (const TrayMenuItem& item : items) {
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
    UINT_PTR id = item.commandId;
    if (!item.entries.empty()) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(BuildMenu(item.entries));
    }
    AppendMenuW(menu, flags, id, ToWide(item.caption).c_str());
  }
  return menu;
}

UINT ShowDetailsMessage() {
  static const UINT message = RegisterWindowMessageW(kShowDetailsMessageName);
  return message;
}

}  // namespace

MainWindow::MainWindow(MainWindowHandler& handler) : handler_(handler) {
  Create(kMainWindowClass, {.title = kMainWindowCaption,
                            .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            .exStyle = WS_EX_LAYOUTRTL | WS_EX_TOOLWINDOW,
                            .bounds = {0, 0, 240, 60}});
}

HICON MainWindow::ProgramIcon() const {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED));
}

void MainWindow::ShowAndAddTrayIcon(bool noActivate) {
  ShowWindow(Handle(), noActivate ? SW_SHOWNOACTIVATE : SW_SHOW);
  UpdateWindow(Handle());
  trayIcon_ = std::make_unique<TrayIcon>(Handle(), ProgramIcon(), kStartTrayTip);
  trayIcon_->Add();
  ShowWindow(Handle(), SW_HIDE);
  YieldToPendingMessages();
}

void MainWindow::SetTrayTip(std::string_view tipField) {
  if (trayIcon_) {
    trayIcon_->SetTip(tipField.substr(0, tipField.find('\0')));
  }
}

void MainWindow::SetIconTextColour(int16_t red, int16_t green, int16_t blue) {
  iconLook_.textColour = RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue));
}

void MainWindow::ChangeIcon(uint8_t red, uint8_t green, uint8_t blue, int32_t profileNumber) {
  iconBackground_ = RGB(red, green, blue);
  iconProfile_ = profileNumber;
  iconDrawn_ = true;
  DrawTrayIcon();
}

void MainWindow::DrawTrayIcon() {
  if (trayIcon_) {
    trayIcon_->SetIcon(DrawProfileIcon(ProgramIcon(), iconBackground_, iconProfile_, iconLook_, Dpi()));
  }
}

// The notification area asks for another icon size at the new DPI.
void MainWindow::OnDpiChanged() {
  if (iconDrawn_) {
    DrawTrayIcon();
  }
}

void MainWindow::RemoveTrayIcon() {
  if (trayIcon_) {
    trayIcon_->Remove();
  }
}

void MainWindow::AddMenuEntry(TrayMenu menu, int32_t number, const std::string& caption) {
  menu_.AddEntry(menu, number, caption);
}

void MainWindow::SetRequestTimeout(int32_t seconds) {
  if (requestTimeout_) {
    requestTimeout_(seconds);
  }
}

void MainWindow::ShowSplash(int32_t intervalMilliseconds) {
  splash_.Show(static_cast<UINT>(intervalMilliseconds));
}

void MainWindow::StopPolling() {
  if (stopPolling_) {
    stopPolling_();
  }
}

void MainWindow::SetReaderData(const std::string& text) {
  details_.SetReaderData(text);
}

void MainWindow::ShowDetails() {
  RunSkippingError([&] {
    details_.EnsureCreated();
    detailsCreated_ = true;
  });
  RunSkippingError([&] {
    details_.ClearProfiles();
    const NumberedList& names = handler_.ProfileNames();
    for (int32_t number = 1; number <= names.Count(); ++number) {
      details_.AppendProfile(names.At(number));
    }
  });
  RunSkippingError([&] { details_.SelectProfile(handler_.CurrentProfile() - 1); });
  RunSkippingError([&] { details_.SetLastDataSent(handler_.LastFedText()); });
  details_.SetParent(this);
  RunSkippingError([&] { details_.BringUp(Handle()); });
  YieldToPendingMessages();
  // Once more without an owner: the window then has a taskbar button, by which the operator finds
  // it behind other windows.
  RunSkippingError([&] { details_.BringUp(nullptr); });
  YieldToPendingMessages();
}

void MainWindow::OpenTrayMenu(POINT at) {
  // The owner in front first, so that a click elsewhere closes the menu.
  SetForegroundWindow(Handle());
  const HMENU menu = BuildMenu(menu_.Items());
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LAYOUTRTL | TPM_RIGHTALIGN, at.x, at.y, 0, Handle(), nullptr));
  DestroyMenu(menu);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (chosen != 0) {
    OnMenuCommand(CommandOfMenuId(chosen));
  }
}

void MainWindow::OnMenuCommand(ChosenCommand chosen) {
  if (WaitsForDocument(chosen.command) && !handler_.MayChangeState()) {
    return;
  }
  switch (chosen.command) {
    case TrayCommand::kResetConnection:
      handler_.ResetConnection();
      break;
    case TrayCommand::kRenameCsv:
      handler_.StartNewCsvLog();
      break;
    case TrayCommand::kDetails:
      ShowDetails();
      break;
    case TrayCommand::kRun:
      handler_.RunProgramEntry(chosen.number);
      break;
    case TrayCommand::kSearch:
      handler_.SearchFolderEntry(chosen.number);
      break;
    case TrayCommand::kProfile:
      handler_.LoadProfile(chosen.number);
      break;
    case TrayCommand::kExit:
      AskExit();
      break;
  }
}

void MainWindow::NewProfileChosen(int32_t number) {
  if (handler_.MayChangeState()) {
    handler_.NewProfileChosen(number);
  } else {
    details_.SelectProfile(handler_.CurrentProfile() - 1);
  }
}

void MainWindow::TryManualData(const std::function<std::string()>& manualData) {
  if (handler_.MayChangeState()) {
    handler_.TryManualData(manualData);
  }
}

void MainWindow::AskExit() {
  // Without an owner: the process's right-to-left default reaches only boxes without one.
  if (Win32MessageBoxes().Show(ExitQuestion()) == MessageAnswer::Yes) {
    handler_.DoEnd(true);
  }
}

void MainWindow::Unload() {
  if (unloading_) {
    return;
  }
  unloading_ = true;
  RemoveTrayIcon();
  handler_.DoEnd(false);
}

void MainWindow::OnTrayEvent(UINT mouseMessage) {
  switch (TrayEventActionOf(mouseMessage)) {
    case TrayEventAction::kShowDetails:
      ShowDetails();
      break;
    case TrayEventAction::kOpenMenu: {
      POINT at;
      GetCursorPos(&at);
      OpenTrayMenu(at);
      break;
    }
    case TrayEventAction::kNone:
      break;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    OnTrayEvent(static_cast<UINT>(lParam));
    return 0;
  }
  if (message == TaskbarCreatedMessage() && trayIcon_) {
    trayIcon_->Add();
    return 0;
  }
  if (message == ShowDetailsMessage()) {
    ShowDetails();
    return 0;
  }
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        ShowWindow(Handle(), SW_HIDE);
      }
      return 0;
    case WM_COMMAND:
      // A menu entry chosen (TrackPopupMenu returns it; tests send it as a menu would).
      if (HIWORD(wParam) == 0 && lParam == 0) {
        OnMenuCommand(CommandOfMenuId(LOWORD(wParam)));
      }
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_ENDSESSION:
      // A system shutdown closes the program as the unload path does.
      if (wParam) {
        Unload();
      }
      return 0;
    default:
      return OwnedWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvex
