#include "modules/IconFileBytes.h"

namespace iconfile {

namespace {

constexpr char kMark[] = "Tivrelon made this icon of a picture.";

void Put(std::string& to, size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) to[at + i] = static_cast<char>(value >> (8 * i));
}
uint32_t Get(const std::string& from, size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(from[at + i]);
    return value;
}

// BITMAPINFOHEADER with the height of colour and mask together, the rows
// bottom-up, then the mask: a bit for each pixel, set where it is
// transparent, rows padded to 32 bits.
void PutBitmap(std::string& to, const resample::Image& image) {
    const int side = image.width;
    const int maskRow = (side + 31) / 32 * 4;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = side;
    header.biHeight = side * 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    to.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = side - 1; y >= 0; --y)
        to.append(reinterpret_cast<const char*>(&image.pixels[static_cast<size_t>(y) * side * 4]), side * 4);
    const size_t mask = to.size();
    to.append(static_cast<size_t>(maskRow) * side, '\0');
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (image.pixels[(static_cast<size_t>(side - 1 - y) * side + x) * 4 + 3] == 0)
                to[mask + y * maskRow + x / 8] |= static_cast<char>(0x80 >> (x % 8));
}

}  // namespace

std::string Bytes(const resample::Image& picture, std::span<const int> sides, const std::string& png) {
    // ICONDIR, then an ICONDIRENTRY of 16 bytes for each image.
    const size_t count = sides.size() + 1;
    std::string bytes(6 + 16 * count, '\0');
    Put(bytes, 2, 1, 2);
    Put(bytes, 4, static_cast<uint32_t>(count), 2);
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i, start = bytes.size();
        const int side = i < sides.size() ? sides[i] : 256;
        if (i < sides.size()) {
            PutBitmap(bytes, resample::InSquare(picture, side));
        } else {
            bytes += png;
        }
        Put(bytes, entry, side, 1);  // 256 is written 0
        Put(bytes, entry + 1, side, 1);
        Put(bytes, entry + 4, 1, 2);  // planes
        Put(bytes, entry + 6, 32, 2);
        Put(bytes, entry + 8, static_cast<uint32_t>(bytes.size() - start), 4);
        Put(bytes, entry + 12, static_cast<uint32_t>(start), 4);
    }
    return bytes + kMark;
}

bool Made(const std::string& bytes) { return bytes.ends_with(kMark); }

Entry Nearest(const std::string& bytes, int side) {
    Entry best;
    for (size_t i = 0, count = Get(bytes, 4, 2); i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int own = Get(bytes, entry, 1) ? static_cast<int>(Get(bytes, entry, 1)) : 256;
        if (best.side == 0 || (own >= side ? best.side < side || own < best.side : own > best.side))
            best = {reinterpret_cast<const BYTE*>(bytes.data()) + Get(bytes, entry + 12, 4), Get(bytes, entry + 8, 4), own};
    }
    return best;
}

}  // namespace iconfile
