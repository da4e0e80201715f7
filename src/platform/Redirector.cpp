#include "platform/Redirector.h"

#include <windows.h>

#include "platform/Platform.h"
#include "platform/Services.h"

namespace redirector {

namespace {

// True when `path` is `folder` or lies under it, `rest` then holding what
// follows it ("\x.dll", or nothing). Letter case does not count:
// "C:\WINDOWS\system32" is the same folder.
bool Within(const std::wstring& path, const std::wstring& folder, std::wstring& rest) {
    if (folder.empty() || path.size() < folder.size() || (path.size() > folder.size() && path[folder.size()] != L'\\'))
        return false;
    if (CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                             static_cast<int>(folder.size()), TRUE) != CSTR_EQUAL)
        return false;
    rest = path.substr(folder.size());
    return true;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool Active() { return platform().GetWow64Folders().Redirected(); }

std::wstring ProgramToStart(const std::wstring& path) {
    const Platform::Wow64Folders folders = platform().GetWow64Folders();
    std::wstring rest;
    if (!folders.Redirected() || !Within(path, folders.system, rest) || IsFile(path)) return path;
    const std::wstring native = folders.native + rest;
    return IsFile(native) ? native : path;
}

std::wstring FolderToStartIn(const std::wstring& program) {
    const Platform::Wow64Folders folders = platform().GetWow64Folders();
    std::wstring rest;
    if (folders.Redirected() && Within(program, folders.native, rest)) return services::FolderOf(folders.native);
    return services::FolderOf(program);
}

std::wstring ForNativeReaders(const std::wstring& path) {
    const Platform::Wow64Folders folders = platform().GetWow64Folders();
    std::wstring rest;
    if (!folders.Redirected()) return path;
    if (Within(path, folders.native, rest)) return folders.system + rest;
    if (!Within(path, folders.system, rest) || IsFile(folders.native + rest)) return path;
    return folders.wow64 + rest;
}

bool ShowsAnotherFolder(const std::wstring& folder) {
    const Platform::Wow64Folders folders = platform().GetWow64Folders();
    std::wstring rest;
    return folders.Redirected() && Within(folder, folders.system, rest);
}

}  // namespace redirector
