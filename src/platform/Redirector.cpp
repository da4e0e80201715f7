#include "platform/Redirector.h"

#include <windows.h>

#include "platform/Platform.h"

namespace redirector {

namespace {

// True when `path` lies under System32, `rest` then holding what follows it
// ("\x.dll"). Letter case does not count: "C:\WINDOWS\system32" is the same
// folder.
bool UnderSystemFolder(const std::wstring& path, const std::wstring& system, std::wstring& rest) {
    if (system.empty() || path.size() <= system.size() || path[system.size()] != L'\\') return false;
    if (CompareStringOrdinal(path.c_str(), static_cast<int>(system.size()), system.c_str(),
                             static_cast<int>(system.size()), TRUE) != CSTR_EQUAL)
        return false;
    rest = path.substr(system.size());
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
    if (!folders.Redirected() || !UnderSystemFolder(path, folders.system, rest) || IsFile(path)) return path;
    const std::wstring native = folders.native + rest;
    return IsFile(native) ? native : path;
}

std::wstring ForNativeReaders(const std::wstring& path) {
    const Platform::Wow64Folders folders = platform().GetWow64Folders();
    std::wstring rest;
    if (!folders.Redirected() || !UnderSystemFolder(path, folders.system, rest) || IsFile(folders.native + rest))
        return path;
    return folders.wow64 + rest;
}

}  // namespace redirector
