#pragma once
#include <windows.h>

// DPI helpers that work from Windows 7 to Windows 11: the per-monitor calls
// are looked up at run time and fall back to the system DPI.
namespace dpi {

inline constexpr int kTwipsPerInch = 1440;

// The window's DPI; the system DPI where Windows has no per-monitor DPI.
UINT ForWindow(HWND window);

// Twips (1/1440 inch) to pixels at `dpi`: 15 twips to a pixel at 96 DPI.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

// Grows `rect` from a client area to the window rectangle for `dpi`.
void AdjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// The font Windows gives tooltips (the status font of the non-client
// metrics), at `dpi`: a tooltip keeps the one it was created with.
LOGFONTW TooltipFont(UINT dpi);

// Lets the program lay its dialogs out again itself on a DPI change rather
// than have Windows rescale them (Windows 10 1703 and later).
void TakeOverDpiScaling(HWND dialog);
void TakeOverControlDpiScaling(HWND control);

}  // namespace dpi
