#include "modules/Resample.h"

#include <algorithm>

namespace resample {

Shrinker::Shrinker(SIZE from, SIZE to)
    : from_(from),
      to_(to),
      sums_(static_cast<size_t>(to.cx) * to.cy * 4),
      counts_(static_cast<size_t>(to.cx) * to.cy) {}

// Source pixel (x, y) falls in destination pixel (x * to / from, y * to /
// from): every destination pixel gets at least one.
void Shrinker::Row(const BYTE* row, int bytesPerPixel) {
    const size_t first = static_cast<size_t>(y_++) * to_.cy / from_.cy * to_.cx;
    for (LONG x = 0; x < from_.cx; ++x, row += bytesPerPixel) {
        const size_t at = first + static_cast<size_t>(x) * to_.cx / from_.cx;
        for (int c = 0; c < 4; ++c) sums_[at * 4 + c] += c < bytesPerPixel ? row[c] : 255;
        ++counts_[at];
    }
}

Image Shrinker::Done() const {
    Image image{to_.cx, to_.cy, std::vector<BYTE>(sums_.size())};
    for (size_t k = 0; k < sums_.size(); ++k) {
        const uint32_t count = counts_[k / 4];
        image.pixels[k] = static_cast<BYTE>((sums_[k] + count / 2) / count);
    }
    return image;
}

SIZE Fitted(UINT width, UINT height, int side, bool grow) {
    const double longer = std::max(width, height);
    if (!grow && longer <= side) return {static_cast<LONG>(width), static_cast<LONG>(height)};
    const auto scaled = [&](UINT n) { return std::max(1L, static_cast<LONG>(n * side / longer + 0.5)); };
    return {scaled(width), scaled(height)};
}

// Destination pixel j of n covers source pixels [j * from / n, (j + 1) *
// from / n), at least one; its colour is the sum of theirs over the sum of
// their alphas.
Image InSquare(const Image& premultiplied, int side) {
    const Image& from = premultiplied;
    const SIZE fitted = Fitted(from.width, from.height, side, true);
    const int left = (side - fitted.cx) / 2, top = (side - fitted.cy) / 2;
    Image square{side, side, std::vector<BYTE>(static_cast<size_t>(side) * side * 4)};
    const auto span = [](int j, int n, int size, int& start) {
        start = j * size / n;
        return std::max(start + 1, (j + 1) * size / n);
    };
    for (int y = 0; y < fitted.cy; ++y) {
        int y0 = 0, x0 = 0;
        const int y1 = span(y, fitted.cy, from.height, y0);
        for (int x = 0; x < fitted.cx; ++x) {
            const int x1 = span(x, fitted.cx, from.width, x0);
            uint32_t sums[4] = {};
            for (int v = y0; v < y1; ++v)
                for (int u = x0; u < x1; ++u) {
                    const BYTE* pixel = &from.pixels[(static_cast<size_t>(v) * from.width + u) * 4];
                    for (int c = 0; c < 4; ++c) sums[c] += pixel[c];
                }
            BYTE* to = &square.pixels[(static_cast<size_t>(top + y) * side + left + x) * 4];
            const uint32_t count = static_cast<uint32_t>((y1 - y0) * (x1 - x0)), alpha = (sums[3] + count / 2) / count;
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<BYTE>(alpha ? std::min<uint32_t>(255, (sums[c] * 255 + sums[3] / 2) / sums[3]) : 0);
            to[3] = static_cast<BYTE>(alpha);
        }
    }
    return square;
}

}  // namespace resample
