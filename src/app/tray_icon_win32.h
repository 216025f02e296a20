#pragma once

// The notification-area icon: one object owns the record from the first add to the removal, adds
// the icon again when Explorer restarts, and draws the profile icon (ChangeIcon).

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdint>
#include <string_view>

namespace orvex {

// The message the icon sends its owner window; lParam is the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// How ChangeIcon draws: the profile number's font size (1: no number) and text colour.
struct IconLook {
  int fontSize = 1;
  COLORREF textColour = RGB(0, 0, 0);
};

class TrayIcon {
 public:
  TrayIcon(HWND owner, HICON icon, std::string_view tip);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon; again after Explorer has restarted ("TaskbarCreated").
  void Add();
  void Remove();
  // The tip, cut so that it fits the record with its terminating NUL.
  void SetTip(std::string_view tip);
  // Takes ownership of the icon.
  void SetIcon(HICON icon);

 private:
  void Modify();

  NOTIFYICONDATAW data_{};
  HICON ownedIcon_ = nullptr;
  bool added_ = false;
};

// The program icon drawn over the background colour, with the profile number in the look's font
// size and text colour at the top-left corner (a leading blank, as numbers print) when the size is
// above 1, in the system's message font, bold. The icon has the size the notification area asks
// for at the DPI (SM_CXSMICON), drawn at that size; the caller owns it.
HICON DrawProfileIcon(HICON programIcon, COLORREF background, int32_t profileNumber, const IconLook& look, UINT dpi);

// The "TaskbarCreated" message that Explorer broadcasts after a restart.
UINT TaskbarCreatedMessage();

}  // namespace orvex
