// The file calls of the seam: kernel32's own. FILE_ID_INFO came with
// Windows 8: the program asks for it, and Windows before says no.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0602
#define _WIN32_WINNT 0x0602  // Windows 8

#include "platform/Platform.h"

#include <cstring>

bool Platform::GetFileId(HANDLE file, FileId& id) {
    id = {};
    FILE_ID_INFO info{};
    if (::GetFileInformationByHandleEx(file, FileIdInfo, &info, sizeof info)) {
        id.volume = info.VolumeSerialNumber;
        static_assert(sizeof id.id == sizeof info.FileId.Identifier);
        std::memcpy(id.id.data(), info.FileId.Identifier, sizeof info.FileId.Identifier);
        return true;
    }
    // Windows 7 has no FILE_ID_INFO: the 64-bit index, in the same place.
    BY_HANDLE_FILE_INFORMATION older{};
    if (!GetFileInformationByHandle(file, &older)) return false;
    const ULONGLONG index = (static_cast<ULONGLONG>(older.nFileIndexHigh) << 32) | older.nFileIndexLow;
    id.volume = older.dwVolumeSerialNumber;
    std::memcpy(id.id.data(), &index, sizeof index);
    // An index of all ones is "none", as ids of all ones are.
    if (index == ~0ULL) id.id.fill(0xFF);
    return true;
}

BOOL Platform::SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info, DWORD size) {
    return ::SetFileInformationByHandle(file, kind, info, size);
}

std::wstring Platform::FullPathName(const std::wstring& path) {
    std::wstring full(path.size() + 1, L'\0');
    DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    return full;
}

BOOL Platform::SetFileAttributesW(const wchar_t* path, DWORD attributes) {
    return ::SetFileAttributesW(path, attributes);
}
