#include "platform/Platform.h"

#include <shobjidl.h>

#include <memory>

#include "platform/Declared.h"
#include "platform/Handles.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace {

Platform realPlatform;
Platform* current = &realPlatform;

}  // namespace

Platform& platform() { return *current; }

// Entered on first need rather than at start, so ole32 is not loaded until then.
void EnsureComApartment() {
    static bool entered = false;
    if (entered) return;
    static Declared<HRESULT(WINAPI*)(LPVOID, DWORD)> coInitializeEx{declared::ole32, "CoInitializeEx"};
    const HRESULT hr = (*coInitializeEx)(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // S_FALSE and RPC_E_CHANGED_MODE both leave a usable apartment behind.
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) throw PlatformError("CoInitializeEx", static_cast<DWORD>(hr));
    entered = true;
}

PlatformOverride::PlatformOverride(Platform& replacement) : previous_(current) { current = &replacement; }
PlatformOverride::~PlatformOverride() { current = previous_; }

bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int Platform::MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

BOOL Platform::DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height) {
    static Declared<BOOL(WINAPI*)(HDC, int, int, HICON, int, int, UINT, HBRUSH, UINT)> fn{declared::user32,
                                                                                        "DrawIconEx"};
    return (*fn)(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

UINT Platform::PrivateExtractIconsW(const wchar_t* file, int index, int width, int height, HICON* icon) {
    static Declared<UINT(WINAPI*)(LPCWSTR, int, int, int, HICON*, UINT*, UINT, UINT)> fn{declared::user32,
                                                                                        "PrivateExtractIconsW"};
    return (*fn)(file, index, width, height, icon, nullptr, 1, 0);
}

BOOL Platform::DestroyIcon(HICON icon) {
    static Declared<BOOL(WINAPI*)(HICON)> fn{declared::user32, "DestroyIcon"};
    return (*fn)(icon);
}

bool Platform::HighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

BOOL Platform::NonClientMetricsForDpi(NONCLIENTMETRICSW* metrics, UINT dpi) {
    static Declared<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)> fn{declared::user32, "SystemParametersInfoForDpi"};
    const auto present = fn.IfPresent();
    return present && present(SPI_GETNONCLIENTMETRICS, metrics->cbSize, metrics, 0, dpi);
}

BOOL Platform::WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file) {
    static Declared<BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, LPCSTR)> fn{declared::kernel32, "WritePrivateProfileStringA"};
    return (*fn)(section, key, value, file);
}

BOOL Platform::WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                          const wchar_t* file) {
    static Declared<BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR)> fn{declared::kernel32,
                                                                         "WritePrivateProfileStringW"};
    return (*fn)(section, key, value, file);
}

BOOL Platform::GetVersionExA(OSVERSIONINFOA* info) {
    static Declared<BOOL(WINAPI*)(OSVERSIONINFOA*)> fn{declared::kernel32, "GetVersionExA"};
    return (*fn)(info);
}

PIDLIST_ABSOLUTE Platform::SHBrowseForFolderW(BROWSEINFOW* request) {
    static Declared<PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*)> fn{declared::shell32, "SHBrowseForFolderW"};
    EnsureComApartment();
    return (*fn)(request);
}

BOOL Platform::SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE item, wchar_t* path, DWORD pathSize) {
    static Declared<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR, DWORD, int)> ex{declared::shell32,
                                                                            "SHGetPathFromIDListEx"};
    static Declared<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR)> fn{declared::shell32, "SHGetPathFromIDListW"};
    if (const auto present = ex.IfPresent()) return present(item, path, pathSize, GPFIDL_DEFAULT);
    return pathSize >= MAX_PATH && (*fn)(item, path);
}

// Wine's picker is a stub that answers "cancelled" at once and shows nothing.
bool Platform::ShellPicksIcons() { return !RunningOnWine(); }

int Platform::PickIconDlgW(HWND owner, wchar_t* path, UINT pathSize, int* index) {
    static Declared<int(WINAPI*)(HWND, LPWSTR, UINT, int*)> fn{declared::shell32, WORD{62}};
    EnsureComApartment();
    return (*fn)(owner, path, pathSize, index);
}

int Platform::PickIconDlgA(HWND owner, char* path, UINT pathSize, int* index) {
    static Declared<int(WINAPI*)(HWND, LPSTR, UINT, int*)> fn{declared::shell32, WORD{62}};
    EnsureComApartment();
    return (*fn)(owner, path, pathSize, index);
}

HICON Platform::ExtractIconW(HINSTANCE instance, const wchar_t* file, UINT index) {
    static Declared<HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT)> fn{declared::shell32, "ExtractIconW"};
    return (*fn)(instance, file, index);
}

HINSTANCE Platform::ShellExecuteW(HWND owner, const wchar_t* operation, const wchar_t* file,
                                  const wchar_t* parameters, const wchar_t* directory, INT showCommand) {
    static Declared<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)> fn{declared::shell32,
                                                                                         "ShellExecuteW"};
    EnsureComApartment();
    return (*fn)(owner, operation, file, parameters, directory, showCommand);
}

void Platform::SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) {
    static Declared<void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID)> fn{declared::shell32, "SHChangeNotify"};
    (*fn)(eventId, flags, item1, item2);
}

UINT Platform::DragQueryFileW(HDROP drop, UINT item, wchar_t* path, UINT pathSize) {
    static Declared<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)> fn{declared::shell32, "DragQueryFileW"};
    return (*fn)(drop, item, path, pathSize);
}

void Platform::DragFinish(HDROP drop) noexcept {
    static Declared<void(WINAPI*)(HDROP)> fn{declared::shell32, "DragFinish"};
    if (const auto finish = fn.IfPresent()) {
        finish(drop);
    } else {
        GlobalFree(drop);
    }
}

void Platform::CoTaskMemFree(void* memory) {
    static Declared<void(WINAPI*)(LPVOID)> fn{declared::ole32, "CoTaskMemFree"};
    if (memory) (*fn)(memory);
}

std::vector<std::wstring> Platform::KnownFolderPaths() {
    static Declared<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)> coCreateInstance{
        declared::ole32, "CoCreateInstance"};
    static Declared<HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*)> getKnownFolderPath{
        declared::shell32, "SHGetKnownFolderPath"};
    EnsureComApartment();
    IKnownFolderManager* raw = nullptr;
    HRESULT hr = (*coCreateInstance)(CLSID_KnownFolderManager, nullptr, CLSCTX_INPROC_SERVER,
                                     __uuidof(IKnownFolderManager), reinterpret_cast<void**>(&raw));
    if (FAILED(hr)) throw PlatformError("CoCreateInstance KnownFolderManager", static_cast<DWORD>(hr));
    const ComPtr<IKnownFolderManager> manager(raw);
    // Every known folder's path: Wine's FindFolderFromPath finds none of them.
    KNOWNFOLDERID* ids = nullptr;
    UINT count = 0;
    hr = manager->GetFolderIds(&ids, &count);
    if (FAILED(hr)) throw PlatformError("GetFolderIds", static_cast<DWORD>(hr));
    const std::unique_ptr<KNOWNFOLDERID, void (*)(KNOWNFOLDERID*)> owned(ids, [](KNOWNFOLDERID* memory) {
        platform().CoTaskMemFree(memory);
    });
    // SHGetKnownFolderPath rather than each folder's IKnownFolder::GetPath:
    // under Wine it answers for more of them (68 paths against 54 in a
    // fresh prefix), in a third of the time. Virtual folders (Control
    // Panel, say) have no path.
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < count; ++i) {
        wchar_t* path = nullptr;
        if (SUCCEEDED((*getKnownFolderPath)(ids[i], KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
            paths.emplace_back(path);
        platform().CoTaskMemFree(path);
    }
    return paths;
}

bool Platform::FindFile(const std::wstring& path, WIN32_FIND_DATAW& found) {
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
        throw PlatformError("FindFirstFile", error);
    }
    FindClose(search);
    return true;
}

BOOL Platform::GetOpenFileNameW(OPENFILENAMEW* request) {
    static Declared<BOOL(WINAPI*)(OPENFILENAMEW*)> fn{declared::comdlg32, "GetOpenFileNameW"};
    EnsureComApartment();
    return (*fn)(request);
}

DWORD Platform::CommDlgExtendedError() {
    static Declared<DWORD(WINAPI*)()> fn{declared::comdlg32, "CommDlgExtendedError"};
    return (*fn)();
}

namespace {

// A folder that a kernel32 call writes into a buffer of the size it asks for.
template <class Fn>
std::wstring FolderFrom(Fn fn) {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT n = fn(folder.data(), static_cast<UINT>(folder.size()));
        if (n == 0) return {};
        if (n < folder.size()) {
            folder.resize(n);
            return folder;
        }
        folder.resize(n);
    }
}

}  // namespace

bool Platform::RunsUnderWow64(std::optional<USHORT> processMachine, BOOL isWow64Process) {
    return processMachine ? *processMachine != IMAGE_FILE_MACHINE_UNKNOWN : isWow64Process != FALSE;
}

Platform::Wow64Folders Platform::GetWow64Folders() {
    // Windows before XP SP2 has neither IsWow64Process nor
    // GetSystemWow64Directory, and no WOW64 either; IsWow64Process2 came
    // with Windows 10 1709.
    static Declared<BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*)> isWow64Process2{declared::kernel32, "IsWow64Process2"};
    static Declared<BOOL(WINAPI*)(HANDLE, PBOOL)> isWow64Process{declared::kernel32, "IsWow64Process"};
    static Declared<UINT(WINAPI*)(LPWSTR, UINT)> getSystemWow64Directory{declared::kernel32,
                                                                          "GetSystemWow64DirectoryW"};
    const auto wow64Directory = getSystemWow64Directory.IfPresent();
    if (!wow64Directory) return {};
    std::optional<USHORT> processMachine;
    USHORT process = 0, native = 0;
    if (const auto fn = isWow64Process2.IfPresent(); fn && fn(GetCurrentProcess(), &process, &native))
        processMachine = process;
    BOOL wow64 = FALSE;
    if (!processMachine)
        if (const auto fn = isWow64Process.IfPresent(); !fn || !fn(GetCurrentProcess(), &wow64)) return {};
    if (!RunsUnderWow64(processMachine, wow64)) return {};

    Wow64Folders folders;
    folders.system = FolderFrom(GetSystemDirectoryW);
    folders.wow64 = FolderFrom(wow64Directory);
    // GetSystemWindowsDirectory, not GetWindowsDirectory: on a terminal
    // server the latter is the user's own folder, which has no Sysnative.
    std::wstring windows = FolderFrom(GetSystemWindowsDirectoryW);
    if (!windows.empty() && windows.back() == L'\\') windows.pop_back();
    if (folders.system.empty() || folders.wow64.empty() || windows.empty()) return {};
    folders.native = windows + L"\\Sysnative";
    return folders;
}

void Platform::StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory) {
    // The path is the application name, never a command line to be split at
    // its first space: "C:\Program Files\x.exe" must not run "C:\Program.exe".
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        ThrowLastError("CreateProcess");
    // Not waited for: both handles go at once.
    const UniqueHandle thread(process.hThread), started(process.hProcess);
}

void Platform::EndProgram(UINT exitCode) { ExitProcess(exitCode); }
