#include "modules/PictureHeader.h"

namespace pictureheader {

namespace {

// The number of `count` bytes at `at`; 0 past the end.
uint32_t Number(std::string_view bytes, size_t at, int count, bool littleEndian) {
    if (at > bytes.size() || bytes.size() - at < static_cast<size_t>(count)) return 0;
    uint32_t n = 0;
    for (int i = 0; i < count; ++i)
        n = n << 8 | static_cast<unsigned char>(bytes[at + (littleEndian ? count - 1 - i : i)]);
    return n;
}

uint64_t Area(uint32_t width, uint32_t height) { return uint64_t{width} * height; }

// Segments, each a marker and a length that counts itself, up to the frame
// header (SOF0 to SOF15; C4, C8 and CC are other segments) and its height
// and width.
uint64_t Jpeg(std::string_view b) {
    for (size_t at = 2; at + 4 <= b.size() && b[at] == '\xFF';) {
        const uint32_t marker = Number(b, at + 1, 1, false);
        if (marker == 0xFF) {  // a fill byte
            ++at;
        } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            return Area(Number(b, at + 5, 2, false), Number(b, at + 7, 2, false)) * 4;
        } else {
            at += 2 + Number(b, at + 2, 2, false);
        }
    }
    return 0;
}

// A colour table its flags announce: 2^(n+1) entries of 3 bytes.
size_t ColourTable(std::string_view b, size_t flagsAt) {
    const uint32_t flags = Number(b, flagsAt, 1, true);
    return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
}

// The logical screen, then blocks up to the trailer: extensions, and images
// of a descriptor (its width and height at 5 and 7), a colour table and a
// code size; the data of both in sub-blocks, each led by its length, the
// last of length 0.
uint64_t Gif(std::string_view b) {
    uint64_t bytes = Area(Number(b, 6, 2, true), Number(b, 8, 2, true)) * 4;
    for (size_t at = 13 + ColourTable(b, 10);; ++at) {
        const uint32_t block = Number(b, at, 1, true);
        if (block == 0x21) {
            at += 2;
        } else if (block == 0x2C) {
            bytes += Area(Number(b, at + 5, 2, true), Number(b, at + 7, 2, true));
            at += 10 + ColourTable(b, at + 9) + 1;
        } else {
            return bytes;  // the trailer, or what the decoder will refuse
        }
        while (at < b.size() && b[at] != 0) at += 1 + Number(b, at, 1, true);
    }
}

}  // namespace

uint64_t DecodedBytes(std::string_view b) {
    using namespace std::string_view_literals;
    // IHDR comes first, its width and height right after its type.
    if (b.starts_with("\x89PNG\r\n\x1A\n"sv)) return Area(Number(b, 16, 4, false), Number(b, 20, 4, false)) * 4;
    if (b.starts_with("\xFF\xD8"sv)) return Jpeg(b);
    if (b.starts_with("GIF8"sv)) return Gif(b);
    return 0;
}

}  // namespace pictureheader
