#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// Pictures scaled by area: each new pixel is the average of the pixels it
// covers. A photo shrunk to 16 pixels keeps its colours instead of a noise
// of single pixels, and a small picture grown keeps its pixels sharp.
// Averaged premultiplied, so that a transparent pixel's colour weighs
// nothing.
namespace resample {

// BGRA pixels, rows top-down.
struct Image {
    int width = 0, height = 0;
    std::vector<BYTE> pixels;
};

// A picture of `from` shrunk to `to` (no larger), given row by row from the
// top: a photo of many megapixels passes through without being held whole.
class Shrinker {
public:
    Shrinker(SIZE from, SIZE to);
    // The next row: 4 bytes a pixel (premultiplied BGRA), or 3 (BGR, opaque).
    void Row(const BYTE* row, int bytesPerPixel);
    // Premultiplied.
    Image Done() const;

private:
    SIZE from_, to_;
    std::vector<uint32_t> sums_, counts_;
    int y_ = 0;
};

// `width` x `height` scaled to fit a square of `side` pixels, not stretched;
// as it is when it fits already and `grow` is false.
SIZE Fitted(UINT width, UINT height, int side, bool grow);

// `premultiplied` fitted to a square of `side` pixels, centred, the margins
// on its short side transparent; not premultiplied, as icon files hold it.
Image InSquare(const Image& premultiplied, int side);

}  // namespace resample
