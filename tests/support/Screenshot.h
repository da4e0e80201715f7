#pragma once
#include <windows.h>

#include <string>

// When TIVRELON_SCREENSHOTS names a folder, saves what the screen shows of
// `window` there as `name`.bmp (scripts/screenshots.sh turns them into the
// PNGs under docs/). Does nothing otherwise.
void SaveScreenshot(HWND window, const wchar_t* name);
