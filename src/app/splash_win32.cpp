#include "app/splash_win32.h"

#include "app/details.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr wchar_t kClassName[] = L"OrvexSplash";
constexpr UINT_PTR kCloseTimer = 1;
constexpr int kWidth = 480, kHeight = 300;
enum ControlId { kMakerLinkId = 10, kCreditLinkId };

// The texts of the window, right to left.
constexpr std::string_view kProductName = "קורא צ'קים וכרטיסים של Orvex";
constexpr std::string_view kReaderMaker = "קורא המסמכים: MagTek";
constexpr std::string_view kMakerLine = "Orvex מערכות בע\"מ - תמיכה טכנית: 09-8741226";
constexpr std::string_view kCredit = "פותח בישראל";

void DrawTextIn(HDC dc, std::string_view text, RECT area, HFONT font, COLORREF colour, UINT format) {
  SelectObject(dc, font);
  SetTextColor(dc, colour);
  const std::wstring wide = ToWide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, format | DT_RTLREADING);
}

// Our logo: a ring and the name beside it.
void DrawLogo(HDC dc, RECT area) {
  const HBRUSH ring = CreateSolidBrush(RGB(20, 60, 140));
  const HGDIOBJ previous = SelectObject(dc, ring);
  Ellipse(dc, area.left, area.top, area.left + 56, area.top + 56);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Ellipse(dc, area.left + 14, area.top + 14, area.left + 42, area.top + 42);
  SelectObject(dc, previous);
  DeleteObject(ring);
  DrawTextIn(dc, "Orvex", {area.left + 66, area.top, area.right, area.top + 56}, MessageFont(kDesignDpi, 26, true),
             RGB(20, 60, 140), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

// The product picture: a cheque on its way into the reader.
void DrawProduct(HDC dc, RECT area) {
  const HBRUSH body = CreateSolidBrush(RGB(60, 60, 70));
  const HBRUSH cheque = CreateSolidBrush(RGB(235, 225, 180));
  RECT reader{area.left, area.top + 30, area.right, area.bottom};
  FillRect(dc, &reader, body);
  RECT paper{area.left + 15, area.top, area.right - 15, area.top + 45};
  FillRect(dc, &paper, cheque);
  DrawTextIn(dc, "12-345-678901", paper, MessageFont(kDesignDpi, 8), RGB(0, 0, 0),
             DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
  DeleteObject(body);
  DeleteObject(cheque);
}

}  // namespace

void SplashWindow::Show(UINT intervalMilliseconds, HWND owner) {
  interval_ = intervalMilliseconds;
  // In the middle of the primary monitor, at its DPI.
  const UINT dpi = WindowDpi(nullptr);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - ScaledToDpi(kWidth, dpi)) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - ScaledToDpi(kHeight, dpi)) / 2;
  Create(kClassName, {.title = kProductName,
                      .style = WS_POPUP | WS_BORDER,
                      .exStyle = WS_EX_LAYOUTRTL | WS_EX_TOOLWINDOW,  // not topmost: a start-up box comes above it
                      .bounds = {left, top, kWidth, kHeight},
                      .owner = owner});
  AddControl(Handle(), L"STATIC", kDetailsTexts.makerLink, SS_NOTIFY | SS_CENTER, {20, 262, 200, 20}, kMakerLinkId);
  AddControl(Handle(), L"STATIC", kCredit, SS_NOTIFY | SS_CENTER, {260, 262, 200, 20}, kCreditLinkId);
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void SplashWindow::ShowModal(UINT intervalMilliseconds, HWND owner) {
  Show(intervalMilliseconds, owner);
  if (owner) {
    EnableWindow(owner, FALSE);
  }
  MSG message;
  while (Exists() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
  }
}

void SplashWindow::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(Handle(), &paint);
  // The window is mirrored; pictures keep their own orientation.
  SetLayout(dc, LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED);
  SetBkMode(dc, TRANSPARENT);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // The drawing is given in the design layout, fonts included; the mapping lays it out at the
  // window's DPI, where the fonts are made at their size on the screen.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, kDesignDpi, kDesignDpi, nullptr);
  SetViewportExtEx(dc, static_cast<int>(Dpi()), static_cast<int>(Dpi()), nullptr);
  DrawLogo(dc, {24, 20, 240, 76});
  DrawProduct(dc, {300, 24, 450, 130});
  DrawTextIn(dc, kProductName, {24, 142, 456, 172}, MessageFont(kDesignDpi, 14, true), RGB(0, 0, 0),
             DT_LEFT | DT_SINGLELINE);
  DrawTextIn(dc, kReaderMaker, {24, 184, 456, 208}, MessageFont(kDesignDpi, 11), RGB(60, 60, 60),
             DT_LEFT | DT_SINGLELINE);
  DrawTextIn(dc, kMakerLine, {24, 218, 456, 242}, MessageFont(kDesignDpi, 10), RGB(60, 60, 60),
             DT_LEFT | DT_SINGLELINE);
  EndPaint(Handle(), &paint);
  if (!countdownStarted_) {
    countdownStarted_ = true;
    SetTimer(Handle(), kCloseTimer, interval_, nullptr);
  }
}

void SplashWindow::OnCommand(int id) {
  OpenWebPage(Handle(), id == kMakerLinkId ? kMakerAddress : kSupportAddress);
}

LRESULT SplashWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      Destroy();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED) {
        OnCommand(LOWORD(wParam));
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 200));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
      return OwnedWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orvex
