#include "platform/KnownFolder.h"

#include <windows.h>

#include <optional>
#include <tuple>

#include "platform/Handles.h"
#include "platform/Platform.h"

namespace {

using Identity = std::tuple<DWORD, DWORD, DWORD>;  // volume serial number, file index

std::optional<Identity> IdentityOf(const std::wstring& folder) {
    // No access asked: a folder is opened with backup semantics, and a
    // junction on its way is followed.
    const UniqueHandle opened(CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!opened || !GetFileInformationByHandle(opened.get(), &info)) return std::nullopt;
    return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

bool IsKnownFolder(const std::wstring& folder) {
    const std::optional<Identity> identity = IdentityOf(folder);
    for (const std::wstring& known : platform().KnownFolderPaths()) {
        if (CompareStringOrdinal(known.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
        if (identity && IdentityOf(known) == identity) return true;
    }
    return false;
}
