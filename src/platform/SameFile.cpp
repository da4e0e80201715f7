// FILE_ID_INFO, of Windows 8, is asked for at run time only.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "platform/SameFile.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>

#include "platform/Declared.h"
#include "platform/Handles.h"

namespace {

struct Identity {
    ULONGLONG volume = 0;
    std::array<BYTE, 16> id{};
    bool operator==(const Identity&) const = default;
};

// The 128-bit id where the volume gives one (Windows 8 and later): on ReFS
// the 64-bit index of GetFileInformationByHandle is not unique.
std::optional<Identity> IdentityOf(const std::wstring& path) {
    static Declared<BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD)> byHandleEx{
        declared::kernel32, "GetFileInformationByHandleEx"};
    // No access asked; backup semantics open a folder as well as a file.
    const UniqueHandle opened(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened) return std::nullopt;
    Identity identity;
    FILE_ID_INFO wide{};
    BY_HANDLE_FILE_INFORMATION info{};
    const auto ex = byHandleEx.IfPresent();
    if (ex && ex(opened.get(), FileIdInfo, &wide, sizeof wide)) {
        identity.volume = wide.VolumeSerialNumber;
        std::copy_n(wide.FileId.Identifier, identity.id.size(), identity.id.begin());
    } else if (GetFileInformationByHandle(opened.get(), &info)) {
        identity.volume = info.dwVolumeSerialNumber;
        const ULONGLONG index = (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
        if (index == 0 || index == ~ULONGLONG{0}) return std::nullopt;
        std::copy_n(reinterpret_cast<const BYTE*>(&index), sizeof index, identity.id.begin());
        return identity;
    } else {
        return std::nullopt;
    }
    // A network file system may answer 0, or all ones: no id to compare.
    const auto all = [&](BYTE b) { return std::ranges::all_of(identity.id, [b](BYTE x) { return x == b; }); };
    if (all(0) || all(0xFF)) return std::nullopt;
    return identity;
}

// `a`, whose identity is `known`, against `b`.
bool Same(const std::wstring& a, const std::optional<Identity>& known, const std::wstring& b) {
    const std::optional<Identity> other = known ? IdentityOf(b) : std::nullopt;
    if (known && other) return *known == *other;
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) { return Same(a, IdentityOf(a), b); }

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    const std::optional<Identity> known = IdentityOf(folder);
    // Each folder above, up to the drive root ("C:\") or the share.
    for (size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos && slash > 1;
         slash = path.find_last_of(L'\\', slash - 1)) {
        const std::wstring above = path.substr(0, slash);
        if (Same(folder, known, above.back() == L':' ? above + L'\\' : above)) return true;
    }
    return false;
}
