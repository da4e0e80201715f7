#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Pictures made through Windows' own encoders, as a camera or an editor
// saves them.
enum class PictureFormat { Png, Jpeg, Bmp, Gif };

// The bytes of a `width` x `height` picture whose pixel (x, y) is
// `pixel(x, y)`, 0xAARRGGBB. PNG keeps the alpha, the others make every
// pixel opaque; a GIF holds the first pixel's colour alone.
std::string PictureBytes(PictureFormat format, int width, int height, const std::function<DWORD(int, int)>& pixel);

// The colour of pixel (x, y) of the icon file `path` as Windows loads it at
// `side` x `side` pixels and draws it on `background`.
COLORREF IconFilePixel(const std::wstring& path, int side, int x, int y, COLORREF background);
