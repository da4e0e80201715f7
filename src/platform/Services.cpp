#include "platform/Services.h"

#include <utility>

#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/VersionResource.h"

namespace services {

int MsgBox(const std::wstring& prompt, UINT style, const std::optional<std::wstring>& title) {
    const std::wstring caption = title ? *title : App().title;
    return platform().MessageBoxW(GetActiveWindow(), prompt, caption, MB_OK | style);
}

namespace {

AppInfo ReadAppInfo() {
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
    info.file = path;
    info.folder = FolderOf(path);
    return info;
}

}  // namespace

const AppInfo& App() {
    // A failed read is tried again on the next call.
    static const AppInfo info = ReadAppInfo();
    return info;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash > 0 && path[slash - 1] == L':' ? slash + 1 : slash);
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

bool HasPlainFile(const std::wstring& path) {
    try {
        return !FindPlainFile(path).empty();
    } catch (const PlatformError&) {
        return false;
    }
}

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n >= path.size()) {
        path.resize(n);
        n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    path.resize(n < path.size() ? n : 0);
    if (!path.empty() && path.back() == L'\\') path.pop_back();  // a drive root's
    // Win32's own spelling: "\\?\C:\x" is "C:\x", "\\?\UNC\s\x" is "\\s\x".
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\" + path.substr(7);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

UniqueHandle OpenToQuery(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

namespace {

UniqueHandle OpenForQuery(const std::wstring& path) {
    UniqueHandle handle = OpenToQuery(path);
    if (!handle) ThrowLastError("CreateFile");
    return handle;
}

}  // namespace

void RequireOwnFileOrNone(const std::wstring& path, const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    if (!platform().FindFile(path, found)) return;  // nothing there
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Refusal(Refusal::NotOwnFile);
    // Links lead elsewhere (symbolic links, junctions, mount points: the name
    // surrogates); a cloud file's placeholder or a deduplicated file is an
    // ordinary file to its owner, with a reparse point of its own.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(found.dwReserved0))
        throw Refusal(Refusal::NotOwnFile);

    const UniqueHandle file = OpenForQuery(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) ThrowLastError("GetFileInformationByHandle");
    if (info.nNumberOfLinks > 1) throw Refusal(Refusal::NotOwnFile);
    // Wine reports no reparse point on a Unix symbolic link and follows it:
    // the file opened is then another one than the folder's own. Both are
    // opened through the same links on the folder's way, so a folder reached
    // through a junction or a mapped drive still matches.
    const std::wstring opened = FinalPath(file.get()), folderPath = FinalPath(OpenForQuery(folder).get());
    const std::wstring own = folderPath + path.substr(path.find_last_of(L'\\'));
    if (!opened.empty() && !folderPath.empty() &&
        CompareStringOrdinal(opened.c_str(), -1, own.c_str(), -1, TRUE) != CSTR_EQUAL)
        throw Refusal(Refusal::NotOwnFile);
}

void CreateNewFile(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
    if (file) return;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) throw Refusal(Refusal::NotOwnFile);
    throw PlatformError("CreateFile", error);
}

std::string ReadFileBytes(const std::wstring& path, uint64_t limit) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError("CreateFile");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) ThrowLastError("GetFileSizeEx");
    if (static_cast<uint64_t>(size.QuadPart) > limit) throw Refusal(Refusal::FileTooLarge);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        ThrowLastError("ReadFile");
    // Less than the whole file is not the file.
    if (read != bytes.size()) throw PlatformError("ReadFile", ERROR_HANDLE_EOF);
    return bytes;
}

FileSnapshot::FileSnapshot(std::wstring path) : path_(std::move(path)), attributes_(GetFileAttributesW(path_.c_str())) {
    if (Existed()) bytes_ = ReadFileBytes(path_);
}

namespace {

// TRUNCATE_EXISTING: into the file itself, never a new one; CREATE_NEW: a
// new one, only where nothing is.
bool TryReplaceBytes(const std::wstring& path, const std::string& bytes, DWORD how = TRUNCATE_EXISTING) noexcept {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                nullptr) &&
                                      written == bytes.size()));
}

}  // namespace

void ReplaceBytes(const std::wstring& path, const std::string& bytes) {
    if (!TryReplaceBytes(path, bytes)) ThrowLastError("WriteFile");
}

FileSnapshot::~FileSnapshot() {
    if (kept_ || (!Existed() && !created_)) return;
    // Lifted first: Windows lets no one write a read-only file, nor delete it.
    TrySetAttributes(path_, 0);
    if (!Existed()) {
        DeleteFileW(path_.c_str());
        return;
    }
    // Made again where it went: a deletion Windows would not take back.
    if (!TryReplaceBytes(path_, bytes_)) TryReplaceBytes(path_, bytes_, CREATE_NEW);
    TrySetAttributes(path_, attributes_ & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

bool TrySetAttributes(const std::wstring& path, DWORD attributes) noexcept {
    // SetFileAttributes takes 0 as "leave unchanged"; NORMAL is the empty set.
    const DWORD value = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return platform().SetFileAttributesW(path.c_str(), value) != FALSE;
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    if (!TrySetAttributes(path, attributes)) ThrowLastError("SetFileAttributes");
}

void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory) {
    platform().StartProgram(path, showCommand, directory);
}

void EndProgram() { platform().EndProgram(0); }

}  // namespace services
