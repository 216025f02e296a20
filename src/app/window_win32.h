#pragma once

// The shape of every window of the shell: a class that owns its handle, with a static window
// procedure that finds the object and forwards to HandleMessage. No exception leaves the procedure.
// A window and its controls are given in a design layout at 96 DPI and laid out at the DPI of the
// window's monitor, again whenever it changes (WM_DPICHANGED).
// Also the small helpers the windows share: controls in the message font, and web links.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/dpi_win32.h"

namespace orvex {

// A control's font: the system's message font at its own size (0 points) or another, bold or not.
struct ControlFont {
  int points = 0;
  bool bold = false;
};

class OwnedWindow {
 public:
  OwnedWindow() = default;
  virtual ~OwnedWindow();
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND Handle() const { return handle_; }
  bool Exists() const { return handle_ != nullptr; }
  // The DPI the window is laid out at.
  UINT Dpi() const { return dpi_; }

 protected:
  struct Shape {
    std::string_view title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    // Left and top on the screen; width and height of the design layout.
    RECT bounds{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    HWND owner = nullptr;
  };
  // Registers the class once and creates the window; throws std::runtime_error when it cannot.
  void Create(const wchar_t* className, const Shape& shape);
  void Destroy();

  // Handles one message; the default lays the window out again at a new DPI and hands every
  // other message to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After the window and its controls have been laid out at a new DPI.
  virtual void OnDpiChanged() {}

 private:
  // A control as AddControl made it, laid out again at each new DPI.
  struct PlacedControl {
    HWND control;
    RECT designBounds;
    ControlFont font;
  };
  friend HWND AddControl(HWND, const wchar_t*, std::string_view, DWORD, RECT, int, DWORD, ControlFont);

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Place(const PlacedControl& placed) const;
  void LayOutAt(UINT dpi, const RECT& suggestedBounds);

  HWND handle_ = nullptr;
  UINT dpi_ = kDesignDpi;
  std::vector<PlacedControl> controls_;
};

// A child control of one of the shell's windows, in the message font; `bounds` (left, top, width,
// height) are in the design layout. Texts are UTF-8.
HWND AddControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, RECT bounds, int id,
                DWORD exStyle = 0, ControlFont font = {});

// Registers the standard controls of Common Controls 6, the version the manifest asks for; once at
// start-up, before the first window.
void InitCommonControls6();

// A control that shows left-to-right data (MICR lines, typed keys) inside a right-to-left window.
void MakeLeftToRight(HWND control);

std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

// Asks the shell to open a web address, in a normal window owned by `owner`; failures are traced.
void OpenWebPage(HWND owner, std::string_view address);

}  // namespace orvex
