#include "modules/Resample.h"

#include <algorithm>

namespace resample {

Shrinker::Shrinker(SIZE from, SIZE to)
    : from_(from), to_(to), sums_(static_cast<size_t>(to.cx) * to.cy * 4), counts_(static_cast<size_t>(to.cx) * to.cy) {}

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
// from / n), at least one.
Image InSquare(const Image& premultiplied, int side) {
    const Image& from = premultiplied;
    const SIZE fitted = Fitted(from.width, from.height, side, true);
    Image square{side, side, std::vector<BYTE>(static_cast<size_t>(side) * side * 4)};
    const auto span = [](int j, int n, int size, int& start) {
        start = j * size / n;
        return std::max(start + 1, (j + 1) * size / n);
    };
    for (int y = 0; y < fitted.cy; ++y) {
        int top = 0, left = 0;
        const int bottom = span(y, fitted.cy, from.height, top);
        for (int x = 0; x < fitted.cx; ++x) {
            const int right = span(x, fitted.cx, from.width, left);
            uint32_t sums[4] = {};
            for (int v = top; v < bottom; ++v)
                for (int u = left; u < right; ++u)
                    for (int c = 0; c < 4; ++c) sums[c] += from.pixels[(static_cast<size_t>(v) * from.width + u) * 4 + c];
            const uint32_t count = static_cast<uint32_t>((bottom - top) * (right - left));
            const uint32_t alpha = (sums[3] + count / 2) / count;
            BYTE* to = &square.pixels[(static_cast<size_t>((side - fitted.cy) / 2 + y) * side + (side - fitted.cx) / 2 + x) * 4];
            for (int c = 0; c < 3; ++c) to[c] = static_cast<BYTE>(alpha ? std::min<uint32_t>(255, (sums[c] * 255 + sums[3] / 2) / std::max(1u, sums[3])) : 0);
            to[3] = static_cast<BYTE>(alpha);
        }
    }
    return square;
}

}  // namespace resample
