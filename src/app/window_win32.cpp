#include "app/window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <set>
#include <stdexcept>

#include "base/error.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

void RegisterClassOnce(const wchar_t* className, WNDPROC procedure) {
  static std::set<std::wstring> registered;
  if (registered.contains(className)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (!RegisterClassExW(&windowClass)) {
    throw std::runtime_error("a window class cannot be registered");
  }
  registered.insert(className);
}

}  // namespace

OwnedWindow::~OwnedWindow() {
  Destroy();
}

void OwnedWindow::Create(const wchar_t* className, const Shape& shape) {
  RegisterClassOnce(className, Procedure);
  const RECT& b = shape.bounds;
  CreateWindowExW(shape.exStyle, className, ToWide(shape.title).c_str(), shape.style, b.left, b.top, b.right, b.bottom,
                  shape.owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!handle_) {
    throw std::runtime_error("a window cannot be created");
  }
  // The monitor is known once the window exists.
  dpi_ = WindowDpi(handle_);
  if (dpi_ != kDesignDpi) {
    SetWindowPos(handle_, nullptr, 0, 0, ScaledToDpi(b.right, dpi_), ScaledToDpi(b.bottom, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OwnedWindow::Place(const PlacedControl& placed) const {
  const RECT bounds = ScaledToDpi(placed.designBounds, dpi_);
  MoveWindow(placed.control, bounds.left, bounds.top, bounds.right, bounds.bottom, TRUE);
  SendMessageW(placed.control, WM_SETFONT,
               reinterpret_cast<WPARAM>(MessageFont(dpi_, placed.font.points, placed.font.bold)), TRUE);
}

// The window at the rectangle the system suggests for the new DPI, its controls at their design
// places and in their fonts at that DPI.
void OwnedWindow::LayOutAt(UINT dpi, const RECT& suggestedBounds) {
  dpi_ = dpi;
  SetWindowPos(handle_, nullptr, suggestedBounds.left, suggestedBounds.top,
               suggestedBounds.right - suggestedBounds.left, suggestedBounds.bottom - suggestedBounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (const PlacedControl& placed : controls_) {
    Place(placed);
  }
  InvalidateRect(handle_, nullptr, TRUE);
  OnDpiChanged();
}

void OwnedWindow::Destroy() {
  if (handle_) {
    DestroyWindow(handle_);
  }
}

LRESULT OwnedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DPICHANGED) {
    LayOutAt(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK OwnedWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<OwnedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<OwnedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->controls_.clear();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& exception) {
    WriteDebugLog("Window message " + std::to_string(message) + " " + AsError(exception).TraceText());
    return 0;
  }
}

HWND AddControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, RECT bounds, int id,
                DWORD exStyle, ControlFont font) {
  const HWND control =
      CreateWindowExW(exStyle, className, ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  auto* window = reinterpret_cast<OwnedWindow*>(GetWindowLongPtrW(parent, GWLP_USERDATA));
  window->controls_.push_back({control, bounds, font});
  window->Place(window->controls_.back());
  return control;
}

void InitCommonControls6() {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&classes)) {
    WriteDebugLog("The common controls cannot be registered");
  }
}

void MakeLeftToRight(HWND control) {
  const LONG_PTR exStyle = GetWindowLongPtrW(control, GWL_EXSTYLE);
  SetWindowLongPtrW(control, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYOUTRTL | WS_EX_RTLREADING));
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
  SetWindowTextW(window, ToWide(text).c_str());
}

void OpenWebPage(HWND owner, std::string_view address) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    WriteDebugLog("Cannot open " + std::string(address) + ": " + std::to_string(result));
  }
}

}  // namespace orvex
