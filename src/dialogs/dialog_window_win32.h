#pragma once

// The frame of the system's dialogs: a modal, right-to-left dialog built from a table of controls,
// with its messages and the messages of the controls it subclasses forwarded to member functions.
// Closing it by its window's close box is a cancel. It is laid out in the system's message font at
// its monitor's DPI, and again when that changes.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/window_placement.h"

namespace orvex {

// One control of a dialog: its id, its name (for AutoResize), its window class, its text, its
// style, and where it lies in dialog units, measured from the dialog's right edge: the layout
// runs right to left, as the operator reads.
struct ControlLayout {
  int id;
  std::string_view name;
  const wchar_t* windowClass;
  std::string_view text;
  DWORD style;
  RECT bounds;  // left, top, width, height
};

struct DialogFrame {
  std::string_view caption;
  SIZE size;  // dialog units
  bool resizable = false;
};

// A dialog window as the geometry rules see it: outer bounds in twips by the DPI it is laid out at
// (its monitor's real DPI), and its child windows in creation order, named by their ids.
class DialogForm final : public FormWindow {
 public:
  DialogForm(HWND window, const std::vector<std::pair<int, std::string_view>>& names, const UINT& dpi)
      : window_(window), names_(names), dpi_(dpi) {}

  bool IsMinimized() const override { return IsIconic(window_); }
  bool IsMaximized() const override { return IsZoomed(window_); }
  TwipsRect Bounds() const override;
  void SetBounds(const TwipsRect& bounds) override;
  void Maximize() override { ShowWindow(window_, SW_MAXIMIZE); }
  TwipsSize ScreenSize() const override;
  TwipsSize TwipsPerPixel() const override;
  size_t ControlCount() const override { return Children().size(); }
  std::string ControlName(size_t index) const override;
  TwipsRect ControlBounds(size_t index) const override;
  void SetControlBounds(size_t index, const TwipsRect& bounds) override;

 private:
  std::vector<HWND> Children() const;
  TwipsRect ToTwips(const RECT& pixels) const;

  HWND window_;
  const std::vector<std::pair<int, std::string_view>>& names_;
  const UINT& dpi_;
};

class DialogWindow {
 public:
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

 protected:
  DialogWindow() = default;
  virtual ~DialogWindow() = default;

  // Shows the dialog modally, owned by no window, until EndModal; returns EndModal's code.
  INT_PTR RunModal(const DialogFrame& frame);
  void EndModal(INT_PTR result) { EndDialog(window_, result); }

  HWND Window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  void AddControls(const std::vector<ControlLayout>& layouts);
  std::string ControlText(int id) const;
  void SetControlText(int id, std::string_view text);
  // The control's own messages reach OnControlMessage first.
  void Subclass(int id);
  // The focus to a control, as the dialog manager moves it.
  void FocusControl(int id);
  void FocusNextControl();
  // Above every other window, without moving or resizing.
  void KeepOnTop();
  // The dialog as the geometry rules see it.
  FormWindow& Form();

  virtual void OnInit() = 0;
  virtual void OnCommand(int id, int code) = 0;
  // Any other message of the dialog; nothing for the default handling.
  virtual std::optional<INT_PTR> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }
  // A message of a subclassed control; nothing passes it on to the control.
  virtual std::optional<LRESULT> OnControlMessage(HWND, UINT, WPARAM, LPARAM) { return std::nullopt; }
  static LRESULT PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  HFONT Font() const;
  void Place(int id, const RECT& dialogUnits) const;
  void LayOutAt(UINT dpi, const RECT& suggestedBounds);

  HWND window_ = nullptr;
  UINT dpi_ = 0;
  std::string caption_;
  SIZE frameSize_{};
  std::vector<std::pair<int, std::string_view>> names_;
  // Each control's place in dialog units (left, top, right, bottom), laid out again at a new DPI.
  std::vector<std::pair<int, RECT>> places_;
  std::vector<int> labels_;
  std::optional<DialogForm> form_;
};

// The character code of a profile's TabChar (a code of the system code page) as typed.
wchar_t TypedCharacter(uint8_t code);

}  // namespace orvex
