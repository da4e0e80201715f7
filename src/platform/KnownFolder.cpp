#include "platform/KnownFolder.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>

#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/QuietDrives.h"
#include "platform/SameFile.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Where a path's volume is named: "C:\" or "\\server\share\"; empty for
// anything else.
std::wstring RootOf(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' && (path.size() == 2 || path[2] == L'\\'))
        return ToUpper(path.substr(0, 2)) + L"\\";
    if (!path.starts_with(L"\\\\")) return {};
    const size_t share = path.find(L'\\', 2);
    if (share == std::wstring::npos) return {};
    const size_t end = path.find(L'\\', share + 1);
    return ToUpper(path.substr(0, end)) + L"\\";
}

// Whether folders under `root` can be on the volume with the serial number
// `serial`, whose folder was reached under `reached` (its roots as chosen
// and as the file system gives it). A network root only as reached: asking
// an unreachable share would hold the window for as long as the network
// takes to say so. A local drive says its serial number, at once.
bool OnTheVolume(const std::wstring& root, DWORD serial, const std::wstring (&reached)[2]) {
    if (root == reached[0] || root == reached[1]) return true;
    if (root.starts_with(L"\\\\")) return false;
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_REMOTE || type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) return false;
    DWORD theirs = 0;
    return GetVolumeInformationW(root.c_str(), nullptr, 0, &theirs, nullptr, nullptr, nullptr, 0) && theirs == serial;
}

}  // namespace

bool IsKnownFolder(const std::wstring& folder) {
    const QuietDrives quiet;
    const std::vector<std::wstring> known = platform().KnownFolderPaths();
    const UniqueHandle opened = services::OpenToQuery(folder);
    const std::wstring final = opened ? services::FinalPath(opened.get()) : L"";
    // Spellings first, which open nothing: the path as chosen, and as the
    // file system gives it after the links, 8.3 names and mapped drives.
    for (const std::wstring& path : known)
        if (SamePath(path, folder) || SamePath(path, final)) return true;
    const std::optional<Platform::FileId> identity = opened ? IdentityOf(opened.get()) : std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!identity || !GetFileInformationByHandle(opened.get(), &info)) return false;
    // Then the known folders on its volume, opened to compare what they are.
    const std::wstring reached[] = {RootOf(folder), RootOf(final)};
    std::map<std::wstring, bool> onTheVolume;  // by root
    for (const std::wstring& path : known) {
        const std::wstring root = RootOf(path);
        const auto [volume, first] = onTheVolume.try_emplace(root);
        if (first) volume->second = !root.empty() && OnTheVolume(root, info.dwVolumeSerialNumber, reached);
        if (!volume->second) continue;
        const UniqueHandle other = services::OpenToQuery(path);
        if (other && IdentityOf(other.get()) == identity) return true;
    }
    return false;
}
