#pragma once

// How a window is laid out, for the DPI tests: WM_DPICHANGED sent as Windows sends it when the
// window moves to a monitor of another scale, and the controls whose text does not fit them.

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/dpi_win32.h"
#include "base/wide_win32.h"

namespace orvex::test_support {

inline RECT WindowBounds(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  return bounds;
}

// The window's rectangle at the new DPI, as Windows suggests it: the same top left, the size scaled.
inline RECT SuggestedBounds(HWND window, UINT fromDpi, UINT toDpi) {
  RECT bounds = WindowBounds(window);
  bounds.right = bounds.left + MulDiv(bounds.right - bounds.left, static_cast<int>(toDpi), static_cast<int>(fromDpi));
  bounds.bottom = bounds.top + MulDiv(bounds.bottom - bounds.top, static_cast<int>(toDpi), static_cast<int>(fromDpi));
  return bounds;
}

inline void SendDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The child windows' rectangles inside the window's client area, in creation order; a combo box's
// without its height, which its font and its list decide.
inline std::vector<RECT> ChildBounds(HWND window) {
  std::vector<RECT> bounds;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = WindowBounds(child);
    if (_wcsicmp(ClassOf(child).c_str(), L"ComboBox") == 0) {
      rect.bottom = rect.top;
    }
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    bounds.push_back(rect);
  }
  return bounds;
}

// Whether every rectangle of `to` is the one of `from` scaled by the factor, within two pixels.
inline bool ScaledAlike(const std::vector<RECT>& from, const std::vector<RECT>& to, double factor) {
  const auto matches = [factor](LONG original, LONG scaled) { return std::abs(original * factor - scaled) <= 2.0; };
  if (from.size() != to.size()) {
    return false;
  }
  for (size_t i = 0; i < from.size(); ++i) {
    if (!matches(from[i].left, to[i].left) || !matches(from[i].top, to[i].top) ||
        !matches(from[i].right, to[i].right) || !matches(from[i].bottom, to[i].bottom)) {
      return false;
    }
  }
  return true;
}

// The room a control gives its text: the client area, less a check box's box, an edit box's
// margins and a combo box's button.
inline RECT TextRoom(HWND control, UINT dpi) {
  RECT room;
  GetClientRect(control, &room);
  const std::wstring kind = ClassOf(control);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  if (_wcsicmp(kind.c_str(), L"Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
    room.right -= SystemMetricForDpi(SM_CXMENUCHECK, dpi) + ScaledToDpi(4, dpi);
  } else if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
    const auto margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
    room.right -= LOWORD(margins) + HIWORD(margins);
  } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
    room.right -= SystemMetricForDpi(SM_CXVSCROLL, dpi);
  }
  return room;
}

// The labels, buttons and fields of the window whose text, in the control's own font, needs more
// room than the control gives it (labels wrap at words, as they draw); each named by its text.
inline std::vector<std::string> ControlsCuttingTheirText(HWND window, UINT dpi) {
  std::vector<std::string> cut;
  for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    if (text.empty() || !IsWindowVisible(control)) {
      continue;
    }
    const RECT room = TextRoom(control, dpi);
    const bool wraps = _wcsicmp(ClassOf(control).c_str(), L"Static") == 0;
    RECT needed{0, 0, room.right - room.left, 0};
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    if (needed.right - needed.left > room.right - room.left || needed.bottom - needed.top > room.bottom - room.top) {
      cut.push_back(FromWide(text));
    }
  }
  return cut;
}

}  // namespace orvex::test_support
