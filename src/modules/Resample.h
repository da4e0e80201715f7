#pragma once
#include <windows.h>

#include <vector>

// Pictures scaled by area: each new pixel is the average of the part of the
// picture it covers. A photo shrunk to 16 pixels keeps its colours instead
// of a noise of single pixels, and a small picture grown keeps its pixels
// sharp. Averaged premultiplied, so that a transparent pixel's colour
// weighs nothing.
namespace resample {

// BGRA pixels, rows top-down.
struct Image {
    int width = 0, height = 0;
    std::vector<BYTE> pixels;
};

// A picture of `from` scaled to `to`, given row by row from the top: a
// photo of many megapixels passes through without being held whole.
class Scaler {
public:
    Scaler(SIZE from, SIZE to);
    // The next row: 4 bytes a pixel (premultiplied BGRA), or 3 (BGR, opaque).
    void Row(const BYTE* row, int bytesPerPixel);
    // Premultiplied.
    Image Done() const;

private:
    struct Tap {
        int from, to;
        float weight;
    };
    static std::vector<Tap> Taps(int from, int to);

    SIZE to_;
    std::vector<Tap> across_, down_;
    std::vector<float> sums_, row_;
    size_t nextDown_ = 0;
    int rowsIn_ = 0;
};

// `width` x `height` scaled to fit a square of `side` pixels, not stretched;
// as it is when it fits already and `grow` is false.
SIZE Fitted(UINT width, UINT height, int side, bool grow);

// `premultiplied` fitted to a square of `side` pixels, centred, the margins
// on its short side transparent; not premultiplied, as icon files hold it.
Image InSquare(const Image& premultiplied, int side);

}  // namespace resample
