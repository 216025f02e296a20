#include "app/tray_icon_win32.h"

#include <string>

#include "base/dpi_win32.h"
#include "base/handle_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

// The design surface: 36 x 36 pixels, the program icon at its top left at 32 x 32, the font size
// in points at 96 DPI. The icon is drawn at its own size with the design mapped onto it, so that
// the number is made in its font at the size it shows.
constexpr int kSurfaceSize = 36;
constexpr int kLogoSize = 32;

using UniqueBitmap = UniqueResource<HBITMAP, DeleteObject>;
using UniqueFont = UniqueResource<HFONT, DeleteObject>;

// "MS SystemEx" does not exist on current systems: the message font, bold, smoothed without
// colour fringes (ClearType's would show on the icon's background).
UniqueFont NumberFont(int points) {
  LOGFONTW logFont = MessageLogFont(kDesignDpi);
  logFont.lfHeight = -MulDiv(points, static_cast<int>(kDesignDpi), 72);
  logFont.lfWeight = FW_BOLD;
  logFont.lfQuality = ANTIALIASED_QUALITY;
  return UniqueFont(CreateFontIndirectW(&logFont));
}

void DrawNumber(HDC dc, int size, int32_t profileNumber, const IconLook& look) {
  const UniqueFont font = NumberFont(look.fontSize);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, kSurfaceSize, kSurfaceSize, nullptr);
  SetViewportExtEx(dc, size, size, nullptr);
  const HGDIOBJ previousFont = SelectObject(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.textColour);
  const std::wstring number = L" " + std::to_wstring(profileNumber);
  TextOutW(dc, 0, 0, number.c_str(), static_cast<int>(number.size()));
  SelectObject(dc, previousFont);
  SetMapMode(dc, MM_TEXT);
}

// Every pixel opaque: the background colour fills the whole icon. The program icon's own alpha,
// which drawing it leaves behind, would otherwise make the shell show the background as holes.
void MakeOpaque(uint32_t* pixels, int size) {
  GdiFlush();
  for (int i = 0; i < size * size; ++i) {
    pixels[i] |= 0xFF000000;
  }
}

UniqueBitmap DrawColour(HICON programIcon, COLORREF background, int32_t profileNumber, const IconLook& look, int size) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap colour(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(memory, colour.Get());
  const HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, size, size};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  const int logo = MulDiv(kLogoSize, size, kSurfaceSize);
  DrawIconEx(memory, 0, 0, programIcon, logo, logo, 0, nullptr, DI_NORMAL);
  if (look.fontSize > 1) {
    DrawNumber(memory, size, profileNumber, look);
  }
  MakeOpaque(static_cast<uint32_t*>(bits), size);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return colour;
}

}  // namespace

HICON DrawProfileIcon(HICON programIcon, COLORREF background, int32_t profileNumber, const IconLook& look, UINT dpi) {
  const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
  const UniqueBitmap colour = DrawColour(programIcon, background, profileNumber, look, size);
  const UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  const HDC maskDc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(maskDc, mask.Get());
  PatBlt(maskDc, 0, 0, size, size, BLACKNESS);
  SelectObject(maskDc, previous);
  DeleteDC(maskDc);
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return CreateIconIndirect(&info);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TrayIcon::TrayIcon(HWND owner, HICON icon, std::string_view tip) {
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  data_.hIcon = icon;
  SetTip(tip);
}

TrayIcon::~TrayIcon() {
  Remove();
  if (ownedIcon_) {
    DestroyIcon(ownedIcon_);
  }
}

void TrayIcon::Add() {
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  if (!added_) {
    WriteDebugLog("The tray icon cannot be added");
  }
}

void TrayIcon::Remove() {
  if (added_) {
    Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
  }
}

void TrayIcon::SetTip(std::string_view tip) {
  const std::wstring wide = ToWide(tip);
  const size_t room = sizeof data_.szTip / sizeof data_.szTip[0] - 1;
  const size_t length = std::min(wide.size(), room);
  wide.copy(data_.szTip, length);
  data_.szTip[length] = L'\0';
  Modify();
}

void TrayIcon::SetIcon(HICON icon) {
  data_.hIcon = icon;
  Modify();
  if (ownedIcon_) {
    DestroyIcon(ownedIcon_);
  }
  ownedIcon_ = icon;
}

void TrayIcon::Modify() {
  if (added_) {
    Shell_NotifyIconW(NIM_MODIFY, &data_);
  }
}

}  // namespace orvex
