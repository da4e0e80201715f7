#include "modules/Resample.h"

#include <algorithm>

namespace resample {

// Destination pixel j covers [j, j+1) * from/to of the source; source pixel
// i weighs what it shares of that, over the whole. In order of i, as rows
// arrive; at most one tap for each source and each destination pixel.
std::vector<Scaler::Tap> Scaler::Taps(int from, int to) {
    std::vector<Tap> taps(static_cast<size_t>(from) + to);
    size_t n = 0;
    const double scale = static_cast<double>(from) / to;
    for (int j = 0; j < to; ++j) {
        const double start = j * scale, end = (j + 1) * scale;
        for (int i = static_cast<int>(start); i < end && i < from; ++i) {
            const double share = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
            if (share > 0) taps[n++] = {i, j, static_cast<float>(share / scale)};
        }
    }
    taps.erase(taps.begin() + static_cast<ptrdiff_t>(n), taps.end());
    return taps;
}

Scaler::Scaler(SIZE from, SIZE to)
    : to_(to),
      across_(Taps(from.cx, to.cx)),
      down_(Taps(from.cy, to.cy)),
      sums_(static_cast<size_t>(to.cx) * to.cy * 4),
      row_(static_cast<size_t>(to.cx) * 4) {}

void Scaler::Row(const BYTE* row, int bytesPerPixel) {
    std::fill(row_.begin(), row_.end(), 0.0f);
    for (const Tap& tap : across_) {
        const BYTE* pixel = row + static_cast<size_t>(tap.from) * bytesPerPixel;
        float* sum = &row_[static_cast<size_t>(tap.to) * 4];
        for (int c = 0; c < 4; ++c) sum[c] += (c < bytesPerPixel ? pixel[c] : 255) * tap.weight;
    }
    for (; nextDown_ < down_.size() && down_[nextDown_].from == rowsIn_; ++nextDown_) {
        const Tap& tap = down_[nextDown_];
        float* sum = &sums_[static_cast<size_t>(tap.to) * to_.cx * 4];
        for (size_t k = 0; k < row_.size(); ++k) sum[k] += row_[k] * tap.weight;
    }
    ++rowsIn_;
}

Image Scaler::Done() const {
    Image image{to_.cx, to_.cy, std::vector<BYTE>(sums_.size())};
    for (size_t k = 0; k < sums_.size(); ++k) image.pixels[k] = static_cast<BYTE>(std::min(sums_[k] + 0.5f, 255.0f));
    return image;
}

SIZE Fitted(UINT width, UINT height, int side, bool grow) {
    const double longer = std::max(width, height);
    if (!grow && longer <= side) return {static_cast<LONG>(width), static_cast<LONG>(height)};
    const auto scaled = [&](UINT n) { return std::max(1L, static_cast<LONG>(n * side / longer + 0.5)); };
    return {scaled(width), scaled(height)};
}

Image InSquare(const Image& premultiplied, int side) {
    const SIZE fitted = Fitted(premultiplied.width, premultiplied.height, side, true);
    Scaler scaler({premultiplied.width, premultiplied.height}, fitted);
    for (int y = 0; y < premultiplied.height; ++y)
        scaler.Row(&premultiplied.pixels[static_cast<size_t>(y) * premultiplied.width * 4], 4);
    const Image content = scaler.Done();
    Image square{side, side, std::vector<BYTE>(static_cast<size_t>(side) * side * 4)};
    const int left = (side - fitted.cx) / 2, top = (side - fitted.cy) / 2;
    for (int y = 0; y < fitted.cy; ++y) {
        const BYTE* from = &content.pixels[static_cast<size_t>(y) * fitted.cx * 4];
        BYTE* to = &square.pixels[(static_cast<size_t>(top + y) * side + left) * 4];
        for (int k = 0; k < fitted.cx * 4; k += 4) {
            const BYTE alpha = from[k + 3];
            for (int c = 0; c < 3; ++c) to[k + c] = static_cast<BYTE>(alpha ? (from[k + c] * 255 + alpha / 2) / alpha : 0);
            to[k + 3] = alpha;
        }
    }
    return square;
}

}  // namespace resample
