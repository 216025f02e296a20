#include "base/dpi_win32.h"

#include <map>
#include <tuple>

#include "base/handle_win32.h"

namespace orvex {
namespace {

// A function of user32 that older systems lack; nullptr there.
template <typename Function>
Function* UserFunction(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

using UniqueFont = UniqueResource<HFONT, DeleteObject>;

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = UserFunction<UINT WINAPI(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int ScaledToDpi(int designPixels, UINT dpi) {
  return MulDiv(designPixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

RECT ScaledToDpi(const RECT& designBounds, UINT dpi) {
  return {ScaledToDpi(designBounds.left, dpi), ScaledToDpi(designBounds.top, dpi), ScaledToDpi(designBounds.right, dpi),
          ScaledToDpi(designBounds.bottom, dpi)};
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto forDpi = UserFunction<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
  if (forDpi) {
    return forDpi(index, dpi);
  }
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

LOGFONTW MessageLogFont(UINT dpi) {
  static const auto forDpi = UserFunction<BOOL WINAPI(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return metrics.lfMessageFont;
}

int MessageFontPoints() {
  return MulDiv(-MessageLogFont(kDesignDpi).lfHeight, 72, static_cast<int>(kDesignDpi));
}

HFONT MessageFont(UINT dpi, int points, bool bold) {
  static std::map<std::tuple<UINT, int, bool>, UniqueFont> fonts;
  UniqueFont& font = fonts[{dpi, points, bold}];
  if (!font) {
    LOGFONTW logFont = MessageLogFont(dpi);
    if (points > 0) {
      logFont.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    }
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font = UniqueFont(CreateFontIndirectW(&logFont));
  }
  return font.Get();
}

void KeepDialogManagerFromRescaling(HWND dialog) {
  static const auto setBehavior =
      UserFunction<BOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS)>(
          "SetDialogDpiChangeBehavior");
  if (setBehavior) {
    setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
  }
}

}  // namespace orvex
