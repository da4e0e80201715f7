#include "platform/IconFile.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Handles.h"

namespace {

#pragma pack(push, 1)
struct IconDirectoryHeader {
    WORD reserved;
    WORD type;  // 1 icon, 2 cursor
    WORD count;
};
struct IconDirectoryEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    DWORD offset;
};
#pragma pack(pop)
static_assert(sizeof(IconDirectoryHeader) == 6 && sizeof(IconDirectoryEntry) == 16);

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger than any icon; keeps the byte counts below far from overflowing.
constexpr int64_t kMaxSide = 1 << 16;

// False unless all `size` bytes at `offset` are in the file.
bool ReadAt(HANDLE file, uint64_t offset, void* into, size_t size) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ReadFile(file, into, static_cast<DWORD>(size), &read, &at) && read == size;
}

// One image of an icon file: a PNG, or a bitmap (the colour image over its
// mask, so twice the height) whose header fits the bytes its entry gives it.
// The extraction takes the header's word for the sizes it reads.
bool ImageFits(HANDLE file, const IconDirectoryEntry& entry) {
    BITMAPINFOHEADER header{};
    const size_t size = entry.bytes < sizeof header ? entry.bytes : sizeof header;
    if (!ReadAt(file, entry.offset, &header, size)) return false;
    if (size >= 4 && std::memcmp(&header, kPngSignature, 4) == 0)
        return size >= sizeof kPngSignature && std::memcmp(&header, kPngSignature, sizeof kPngSignature) == 0;
    if (size < sizeof header || header.biSize < sizeof header || header.biSize > entry.bytes) return false;

    const int64_t width = header.biWidth, height = std::llabs(int64_t{header.biHeight}) / 2;
    const uint64_t bits = header.biBitCount;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || header.biPlanes != 1) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    uint64_t colours = bits <= 8 ? (header.biClrUsed ? header.biClrUsed : uint64_t{1} << bits) : 0;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof header) colours += 3;  // the masks
    const uint64_t row = (width * bits + 31) / 32 * 4, maskRow = (width + 31) / 32 * 4;
    return header.biSize + colours * 4 + (row + maskRow) * height <= entry.bytes;
}

// An icon or cursor file by its header; false for any other file.
bool IsDamagedIconDirectory(HANDLE file, uint64_t fileSize) {
    IconDirectoryHeader header{};
    if (!ReadAt(file, 0, &header, sizeof header)) return false;
    if (header.reserved != 0 || (header.type != 1 && header.type != 2)) return false;

    std::vector<IconDirectoryEntry> entries(header.count);
    if (!entries.empty() && !ReadAt(file, sizeof header, entries.data(), entries.size() * sizeof entries[0]))
        return true;
    for (const IconDirectoryEntry& entry : entries)
        if (entry.bytes == 0 || uint64_t{entry.offset} + entry.bytes > fileSize || !ImageFits(file, entry)) return true;
    return false;
}

// A program or library (it starts with "MZ"): a download stopped halfway
// leaves its section table naming data past the end of the file.
bool IsDamagedProgram(HANDLE file, uint64_t fileSize) {
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!ReadAt(file, 0, &dos, sizeof dos)) return true;
    const uint64_t peAt = static_cast<uint32_t>(dos.e_lfanew);
    if (!ReadAt(file, peAt, &signature, sizeof signature)) return true;
    if (signature != IMAGE_NT_SIGNATURE) return false;  // an older kind: left to the extraction
    if (!ReadAt(file, peAt + sizeof signature, &header, sizeof header)) return true;

    const uint64_t sectionsAt = peAt + sizeof signature + sizeof header + header.SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    if (sectionsAt > fileSize) return true;
    if (!sections.empty() && !ReadAt(file, sectionsAt, sections.data(), sections.size() * sizeof sections[0]))
        return true;
    for (const IMAGE_SECTION_HEADER& section : sections)
        if (section.SizeOfRawData && uint64_t{section.PointerToRawData} + section.SizeOfRawData > fileSize) return true;
    return false;
}

}  // namespace

bool IsDamagedIconFile(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    WORD magic = 0;
    if (!file || !GetFileSizeEx(file.get(), &size) || !ReadAt(file.get(), 0, &magic, sizeof magic)) return false;
    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    return magic == IMAGE_DOS_SIGNATURE ? IsDamagedProgram(file.get(), fileSize)
                                        : IsDamagedIconDirectory(file.get(), fileSize);
}
