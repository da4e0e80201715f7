#include "support/Files.h"

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Handles.h"
#include "platform/Platform.h"

namespace {
std::atomic<int> counter{0};

// A number of this run of the program: the counter at its start, which no
// Wine prefix shares with another.
unsigned long long SessionMark() {
    static const unsigned long long mark = [] {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return static_cast<unsigned long long>(now.QuadPart);
    }();
    return mark;
}

struct FindChangeDeleter {
    void operator()(HANDLE h) const { if (h != INVALID_HANDLE_VALUE) FindCloseChangeNotification(h); }
};
using UniqueFindChange = std::unique_ptr<void, FindChangeDeleter>;
}

std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring BrowsableRoot() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp, n) + L"Tivrelon exe tests";
}

TempFolder::TempFolder(const std::wstring& root) {
    CreateDirectoryW(root.c_str(), nullptr);
    // Wine numbers the processes of each prefix from the same start, and the
    // Windows kit runs these programs from the build folder in a prefix of
    // its own beside the test session: a process id alone named one folder
    // for two tests at once, and each took the other's away.
    path_ = root + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L"-" +
            std::to_wstring(SessionMark());
    RemoveTree(path_);
    MakeFolder(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

KeptAsFound::KeptAsFound(std::wstring file, std::wstring folder)
    : file_(std::move(file)),
      folder_(std::move(folder)),
      fileAttributes_(GetFileAttributesW(file_.c_str())),
      folderAttributes_(GetFileAttributesW(folder_.c_str())),
      bytes_(ReadBytes(file_)) {}

KeptAsFound::~KeptAsFound() {
    RemoveTree(file_);
    if (fileAttributes_ != INVALID_FILE_ATTRIBUTES) {
        WriteBytes(file_, bytes_);
        SetFileAttributesW(file_.c_str(), fileAttributes_);
    }
    SetFileAttributesW(folder_.c_str(), folderAttributes_ & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

DWORD UserAttributes(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return attributes;
    return attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot create test file");
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring ProfileSection(const std::wstring& ini, const wchar_t* section) {
    std::wstring lines(1 << 16, L'\0');
    lines.resize(GetPrivateProfileSectionW(section, lines.data(), static_cast<DWORD>(lines.size()), ini.c_str()));
    for (wchar_t& ch : lines)
        if (ch == L'\0') ch = L'\n';
    return lines;
}

std::string ReadBytes(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(static_cast<size_t>(GetFileSize(file.get(), nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const std::wstring& path) {
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create test folder");
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        std::vector<std::wstring> names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        for (const auto& name : names) RemoveTree(path + L"\\" + name);
    }
    RemoveDirectoryW(path.c_str());
}

namespace {

// Under Wine, Win32 can neither make a symbolic link (CreateSymbolicLink
// makes nothing) nor take one away (DeleteFile deletes its target): `ln` or
// `rm` does it on the Unix side. Wine starts a Unix program as it starts a
// Windows one but hands back no process to wait for, so this waits until
// `path` is there, or gone, as `wanted` says.
bool RunOnUnixSide(const char* program, const char* options, const std::vector<std::wstring>& paths,
                   const std::wstring& path, bool wanted) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    std::string command = std::string(program) + " " + options;
    for (const std::wstring& p : paths) {
        char* name = unixName(p.c_str());
        command += std::string(" \"") + (name ? name : "") + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    UniqueFindChange change(FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA((std::string("Z:\\bin\\") + program).c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    const UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    while (Exists(path) != wanted && WaitForSingleObject(change.get(), 10000) == WAIT_OBJECT_0)
        FindNextChangeNotification(change.get());
    return Exists(path) == wanted;
}

}  // namespace

SymbolicLink::SymbolicLink(const std::wstring& link, const std::wstring& target) : link_(link) {
    made_ = RunningOnWine() ? RunOnUnixSide("ln", "-s", {target, link}, link, true)
                            : CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                                  SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
}

SymbolicLink::~SymbolicLink() {
    if (!made_) return;
    if (RunningOnWine()) {
        RunOnUnixSide("rm", "-f", {link_}, link_, false);
    } else {
        DeleteFileW(link_.c_str());
    }
}
