#include "modules/IconFileBytes.h"

#include <cstring>

namespace iconfile {

namespace {

constexpr char kMark[] = "Tivrelon made this icon of a picture.";

// An icon file's directory: ICONDIR, then an ICONDIRENTRY for each image.
#pragma pack(push, 1)
struct DirectoryEntry {
    BYTE width, height, colours, reserved;  // 256 is written 0
    WORD planes, bitCount;
    DWORD size, offset;
};
#pragma pack(pop)
constexpr size_t kHeader = 6;

DirectoryEntry EntryAt(const std::string& bytes, size_t i) {
    DirectoryEntry entry;
    std::memcpy(&entry, &bytes[kHeader + sizeof entry * i], sizeof entry);
    return entry;
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
    const WORD count = static_cast<WORD>(sides.size() + 1);
    const WORD header[] = {0, 1, count};  // reserved, an icon, its images
    std::string bytes(kHeader + sizeof(DirectoryEntry) * count, '\0');
    std::memcpy(bytes.data(), header, sizeof header);
    for (WORD i = 0; i < count; ++i) {
        const DWORD start = static_cast<DWORD>(bytes.size());
        const int side = i < sides.size() ? sides[i] : 256;
        if (i < sides.size()) {
            PutBitmap(bytes, resample::InSquare(picture, side));
        } else {
            bytes += png;
        }
        const DirectoryEntry entry{static_cast<BYTE>(side), static_cast<BYTE>(side), 0, 0, 1, 32,
                                   static_cast<DWORD>(bytes.size()) - start, start};
        std::memcpy(&bytes[kHeader + sizeof entry * i], &entry, sizeof entry);
    }
    return bytes + kMark;
}

bool Made(const std::string& bytes) { return bytes.ends_with(kMark); }

Entry Nearest(const std::string& bytes, int side) {
    Entry best;
    WORD count = 0;
    std::memcpy(&count, &bytes[4], sizeof count);
    for (WORD i = 0; i < count; ++i) {
        const DirectoryEntry entry = EntryAt(bytes, i);
        const int own = entry.width ? entry.width : 256;
        if (best.side == 0 || (own >= side ? best.side < side || own < best.side : own > best.side))
            best = {reinterpret_cast<const BYTE*>(bytes.data()) + entry.offset, entry.size, own};
    }
    return best;
}

}  // namespace iconfile
