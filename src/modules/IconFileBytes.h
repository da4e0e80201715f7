#pragma once
#include <span>
#include <string>

#include "modules/Resample.h"

// The bytes of an icon file this program makes of a picture.
namespace iconfile {

// An icon file of `picture` (premultiplied) fitted in squares of `sides`
// pixels, stored as 32-bit bitmaps with alpha and an AND mask for readers
// that know no alpha, then of `png`, a 256-pixel square stored as PNG, as
// Windows' own icons store that size. The program's mark ends the file:
// readers of icons go by the directory's offsets and never see it.
std::string Bytes(const resample::Image& picture, std::span<const int> sides, const std::string& png);

// True when `bytes` end with the program's mark: an icon file it made, not
// the user's, whatever its name.
bool Made(const std::string& bytes);

// The icon in `bytes` (made by Bytes) that best fits `side` pixels, the one
// Windows would pick: the smallest at least that large, else the largest.
// Its bytes as CreateIconFromResourceEx takes them, and its own side.
struct Entry {
    const BYTE* bytes = nullptr;
    DWORD size = 0;
    int side = 0;
};
Entry Nearest(const std::string& bytes, int side);

}  // namespace iconfile
