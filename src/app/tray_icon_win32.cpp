#include "app/tray_icon_win32.h"

#include <string>

#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

// The drawing surface: 36 x 36 pixels, scaled to the tray's icon size.
constexpr int kSurfaceSize = 36;

// A bold font of the system for the profile number; "MS SystemEx" does not exist on current systems.
HFONT NumberFont(int points) {
  const HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
}

HBITMAP DrawSurface(HDC memory, HICON programIcon, COLORREF background, int32_t profileNumber, const IconLook& look) {
  const HDC screen = GetDC(nullptr);
  const HBITMAP surface = CreateCompatibleBitmap(screen, kSurfaceSize, kSurfaceSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(memory, surface);
  const HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, kSurfaceSize, kSurfaceSize};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, programIcon, 32, 32, 0, nullptr, DI_NORMAL);
  if (look.fontSize > 1) {
    const HFONT font = NumberFont(look.fontSize);
    const HGDIOBJ previousFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, look.textColour);
    const std::wstring number = L" " + std::to_wstring(profileNumber);
    TextOutW(memory, 0, 0, number.c_str(), static_cast<int>(number.size()));
    SelectObject(memory, previousFont);
    DeleteObject(font);
  }
  SelectObject(memory, previous);
  return surface;
}

HBITMAP ScaledCopy(HDC memory, HBITMAP surface, int size) {
  const HDC source = CreateCompatibleDC(memory);
  const HGDIOBJ previousSource = SelectObject(source, surface);
  const HDC screen = GetDC(nullptr);
  const HBITMAP scaled = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(memory, scaled);
  SetStretchBltMode(memory, HALFTONE);
  StretchBlt(memory, 0, 0, size, size, source, 0, 0, kSurfaceSize, kSurfaceSize, SRCCOPY);
  SelectObject(memory, previous);
  SelectObject(source, previousSource);
  DeleteDC(source);
  return scaled;
}

}  // namespace

HICON DrawProfileIcon(HICON programIcon, COLORREF background, int32_t profileNumber, const IconLook& look) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  const HDC memory = CreateCompatibleDC(nullptr);
  const HBITMAP surface = DrawSurface(memory, programIcon, background, profileNumber, look);
  const HBITMAP colour = ScaledCopy(memory, surface, size);
  DeleteObject(surface);
  DeleteDC(memory);
  // Every pixel is opaque: the background colour fills the whole icon.
  const HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  const HDC maskDc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(maskDc, mask);
  PatBlt(maskDc, 0, 0, size, size, BLACKNESS);
  SelectObject(maskDc, previous);
  DeleteDC(maskDc);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  const HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
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
