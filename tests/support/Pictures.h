#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Pictures made through Windows' own encoders, as cameras and editors save them.
enum class PictureFormat { Png, Jpeg, Bmp, Gif };

// A `width` x `height` picture's bytes, pixel (x, y) `pixel(x, y)` (0xAARRGGBB):
// alpha kept by PNG alone, a GIF of the first pixel's colour alone.
std::string PictureBytes(PictureFormat format, int width, int height, const std::function<DWORD(int, int)>& pixel);

// The colour of pixel (x, y) of the icon file `path` as Windows loads it at
// `side` x `side` pixels and draws it on `background`.
COLORREF IconFilePixel(const std::wstring& path, int side, int x, int y, COLORREF background);
