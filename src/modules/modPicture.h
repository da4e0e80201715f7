#pragma once
#include <windows.h>

#include <string>

// A picture (PNG, JPEG, BMP, GIF or TIFF) made into an icon file through the
// Windows Imaging Component, which ole32 loads on first use.
namespace modPicture {

// True when `file` is named as a picture of those formats.
bool IsPictureName(const std::wstring& file);

// The bytes of an icon file made of the first image of the picture `file`:
// entries of 16, 20, 24, 32, 40, 48, 64 and 256 pixels, the picture fitted
// in each, centred, the margins on its short side transparent. Raises
// Refusal(NotAPicture) for a file that is no picture Windows decodes (cut
// short, damaged, another format under a picture's name) and
// Refusal(PictureTooLarge) for one whose decoding would take hundreds of
// megabytes, both before any image is made; PlatformError for other
// failures.
std::string MakeIconFile(const std::wstring& file);

// Draws the icon of `iconFile` (bytes MakeIconFile made) at the top-left
// corner of `dc`, `size` pixels, from the entry Windows would pick for that
// size, over what it shows. Raises PlatformError when Windows cannot.
void DrawIconFile(const std::string& iconFile, HDC dc, SIZE size);

}  // namespace modPicture
