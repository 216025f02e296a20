#pragma once

// The shape of every window of the shell: a class that owns its handle, with a static window
// procedure that finds the object and forwards to HandleMessage. No exception leaves the procedure.
// Also the small helpers the windows share: controls in the message font, and web links.

#include <windows.h>

#include <string>
#include <string_view>

namespace orvex {

class OwnedWindow {
 public:
  OwnedWindow() = default;
  virtual ~OwnedWindow();
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND Handle() const { return handle_; }
  bool Exists() const { return handle_ != nullptr; }

 protected:
  struct Shape {
    std::string_view title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    RECT bounds{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};  // left, top, width, height
    HWND owner = nullptr;
  };
  // Registers the class once and creates the window; throws std::runtime_error when it cannot.
  void Create(const wchar_t* className, const Shape& shape);
  void Destroy();

  // Handles one message; the default hands it to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

// The system's message font, at the given size in points (0: the system's size), bold or not.
// Kept for the life of the process.
HFONT MessageFont(int points = 0, bool bold = false);

// A child control in the message font. Texts are UTF-8.
HWND AddControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, RECT bounds, int id,
                DWORD exStyle = 0, HFONT font = MessageFont());

// A control that shows left-to-right data (MICR lines, typed keys) inside a right-to-left window.
void MakeLeftToRight(HWND control);

std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

// Asks the shell to open a web address, in a normal window owned by `owner`; failures are traced.
void OpenWebPage(HWND owner, std::string_view address);

}  // namespace orvex
