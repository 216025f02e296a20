#pragma once

// The DPI the windows are laid out at, and the system's metrics and message font at a DPI. The
// functions that Windows 10 added for this are looked up at run time: on Windows 7 and 8.1 the
// system DPI stands for every window.

#include <windows.h>

namespace orvex {

// The DPI at which the design layouts are given, in pixels: 100 % scaling.
inline constexpr UINT kDesignDpi = 96;

// The DPI of the monitor the window is on (the system DPI where Windows has no per-window DPI).
UINT WindowDpi(HWND window);

// A length of the design layout at the DPI.
int ScaledToDpi(int designPixels, UINT dpi);
// A design rectangle given as left, top, width, height, at the DPI.
RECT ScaledToDpi(const RECT& designBounds, UINT dpi);

// GetSystemMetrics at the DPI.
int SystemMetricForDpi(int index, UINT dpi);

// The system's message font at the DPI: a scalable font with Hebrew glyphs (Segoe UI on current
// systems), at its own size or at `points`, bold or not. Kept for the life of the process.
HFONT MessageFont(UINT dpi, int points = 0, bool bold = false);
// The message font's face and its size in points, as a dialog template names them.
LOGFONTW MessageLogFont(UINT dpi);
int MessageFontPoints();

// Dialogs are laid out again by their own code when the DPI changes, not by the dialog manager.
void KeepDialogManagerFromRescaling(HWND dialog);

}  // namespace orvex
