#include "platform/Services.h"

#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/VersionResource.h"

namespace services {

int MsgBox(const std::wstring& prompt, UINT style, const std::optional<std::wstring>& title) {
    const std::wstring caption = title ? *title : App().title;
    return platform().MessageBoxW(GetActiveWindow(), prompt, caption, MB_OK | style);
}

AppInfo App() {
    const VersionResource version = ReadVersionResource(GetModuleHandleW(nullptr));
    AppInfo info;
    info.title = version.productName;
    info.major = version.major;
    info.minor = version.minor;
    info.revision = version.revision;

    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) ThrowLastError("GetModuleFileName");
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    info.folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    // A program at a drive root keeps the root's backslash ("C:\").
    if (info.folder.size() == 2 && info.folder[1] == L':') info.folder += L'\\';
    return info;
}

std::wstring FindPlainFile(const std::wstring& path) {
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(path.c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE) {
        search.release();
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
        throw PlatformError("FindFirstFile", error);
    }
    do {
        if ((found.dwFileAttributes & kNotPlain) == 0) return found.cFileName;
    } while (FindNextFileW(search.get(), &found));
    return {};
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    // SetFileAttributes takes 0 as "leave unchanged"; NORMAL is the empty set.
    const DWORD value = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    if (!SetFileAttributesW(path.c_str(), value)) ThrowLastError("SetFileAttributes");
}

void RemoveFile(const std::wstring& path) {
    if (!::DeleteFileW(path.c_str())) ThrowLastError("DeleteFile");
}

void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory) {
    platform().StartProgram(path, showCommand, directory);
}

void EndProgram() { platform().EndProgram(0); }

}  // namespace services
