#include "platform/IconFile.h"

#include <windows.h>

#include <cstdint>
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

bool ReadExactly(HANDLE file, void* into, DWORD size) {
    DWORD read = 0;
    return ReadFile(file, into, size, &read, nullptr) && read == size;
}

}  // namespace

bool IsDamagedIconFile(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    IconDirectoryHeader header{};
    if (!file || !GetFileSizeEx(file.get(), &size) || !ReadExactly(file.get(), &header, sizeof header)) return false;
    if (header.reserved != 0 || (header.type != 1 && header.type != 2)) return false;

    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    const uint64_t directoryEnd = sizeof header + uint64_t{header.count} * sizeof(IconDirectoryEntry);
    if (directoryEnd > fileSize) return true;
    std::vector<IconDirectoryEntry> entries(header.count);
    if (header.count &&
        !ReadExactly(file.get(), entries.data(), static_cast<DWORD>(entries.size() * sizeof(IconDirectoryEntry))))
        return true;
    for (const IconDirectoryEntry& entry : entries)
        if (entry.bytes == 0 || uint64_t{entry.offset} + entry.bytes > fileSize) return true;
    return false;
}
